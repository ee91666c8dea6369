#include "results/Files.h"

#include <algorithm>

#include "platform/AutomationError.h"
#include "platform/TextCase.h"

namespace orv {

Files::Record Files::Add(const std::wstring& strFilePath, const std::wstring& strKey) {
    auto record = std::make_shared<clsBAFileInfo>();
    record->put_FilePath(strFilePath);
    record->put_Key(strKey);
    if (!strKey.empty()) {
        // The record is discarded when its key is taken: nothing is added.
        if (!byKey_.emplace(FoldCase(strKey), record).second) RaiseRuntimeError(kErrDuplicateKey);
    }
    records_.push_back(record);
    return record;
}

std::size_t Files::PositionOf(int32_t index) const {
    if (index < 1 || index > Count()) RaiseRuntimeError(kErrSubscriptOutOfRange);
    return static_cast<std::size_t>(index - 1);
}

const Files::Record& Files::RecordOf(const std::wstring& key) const {
    auto found = key.empty() ? byKey_.end() : byKey_.find(FoldCase(key));
    if (found == byKey_.end()) RaiseRuntimeError(kErrInvalidProcedureCall);
    return found->second;
}

Files::Record Files::Item(int32_t index) const {
    return records_[PositionOf(index)];
}

Files::Record Files::Item(const std::wstring& key) const {
    return RecordOf(key);
}

void Files::Remove(int32_t index) {
    auto at = records_.begin() + static_cast<std::ptrdiff_t>(PositionOf(index));
    const std::wstring& key = (*at)->get_Key();
    if (!key.empty()) byKey_.erase(FoldCase(key));
    records_.erase(at);
}

void Files::Remove(const std::wstring& key) {
    auto at = std::find(records_.begin(), records_.end(), RecordOf(key));
    byKey_.erase(FoldCase(key));
    records_.erase(at);
}

}  // namespace orv
