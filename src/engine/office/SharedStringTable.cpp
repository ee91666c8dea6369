#include "engine/office/SharedStringTable.h"

#include "engine/office/RichText.h"
#include "engine/office/SpreadsheetMarkup.h"

namespace orv::engine {

SharedStringTable::SharedStringTable(XmlPartReader& reader) {
    const AddRichText add = [this](std::string_view utf8, RunFormatting formatting) {
        runs_ += kRunStart;
        runs_ += static_cast<char>(kFormattingBase + formatting);
        runs_ += utf8;
    };
    while (reader.Next()) {
        if (!IsSpreadsheetStart(reader, "si")) continue;
        starts_.push_back(runs_.size());
        ReadRichText(reader, add);
    }
    runs_.shrink_to_fit();
    starts_.shrink_to_fit();
}

void SharedStringTable::AddTo(std::size_t index, FormattedRuns& runs) const {
    const std::size_t end = index + 1 < starts_.size() ? starts_[index + 1] : runs_.size();
    std::size_t at = starts_.at(index);
    while (at + 2 <= end) {
        const auto formatting = static_cast<RunFormatting>(runs_[at + 1] - kFormattingBase);
        const std::size_t textStart = at + 2;
        std::size_t next = runs_.find(kRunStart, textStart);
        if (next == std::string::npos || next > end) next = end;
        runs.AddText(std::string_view(runs_).substr(textStart, next - textStart),
                     FormattingName(formatting));
        at = next;
    }
}

}  // namespace orv::engine
