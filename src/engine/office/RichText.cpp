#include "engine/office/RichText.h"

#include "engine/office/SpreadsheetMarkup.h"

namespace orv::engine {
namespace {

// The formatting that the current element of a run's properties (<rPr>) switches on.
RunFormatting FormattingOf(const XmlPartReader& reader) {
    if (IsSpreadsheetStart(reader, "b")) return SwitchAttribute(reader, "val", true) ? kBold : 0;
    if (IsSpreadsheetStart(reader, "i")) return SwitchAttribute(reader, "val", true) ? kItalic : 0;
    if (IsSpreadsheetStart(reader, "strike"))
        return SwitchAttribute(reader, "val", true) ? kStrike : 0;
    if (IsSpreadsheetStart(reader, "u")) return reader.Attribute("val") == "none" ? 0 : kUnderline;
    if (IsSpreadsheetStart(reader, "vertAlign")) {
        const std::string position = reader.Attribute("val");
        if (position == "superscript") return kSuperscript;
        if (position == "subscript") return kSubscript;
    }
    return 0;
}

// Reads the properties whose start is the current node, up to their end.
RunFormatting ReadRunProperties(XmlPartReader& reader) {
    RunFormatting formatting = 0;
    if (reader.IsEmptyElement()) return formatting;
    const int depth = reader.Depth();
    while (reader.Next()) {
        if (reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth) break;
        if (reader.Type() == XML_READER_TYPE_ELEMENT) formatting |= FormattingOf(reader);
    }
    return formatting;
}

}  // namespace

std::string FormattingName(RunFormatting formatting) {
    static constexpr struct {
        RunFormatting bit;
        const char* name;
    } kNames[] = {{kBold, "b"},        {kItalic, "i"},        {kUnderline, "u"},
                  {kStrike, "strike"}, {kSuperscript, "sup"}, {kSubscript, "sub"}};
    std::string name;
    for (const auto& named : kNames)
        if (formatting & named.bit) name += (name.empty() ? "" : " ") + std::string(named.name);
    return name;
}

std::string ReadElementText(XmlPartReader& reader) {
    std::string text;
    if (reader.IsEmptyElement()) return text;
    const int depth = reader.Depth();
    while (reader.Next()) {
        if (reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth) break;
        if (IsTextNode(reader)) AppendCellText(text, reader.Value());
    }
    return text;
}

void ReadRichText(XmlPartReader& reader, const AddRichText& add) {
    if (reader.IsEmptyElement()) return;
    const int depth = reader.Depth();
    RunFormatting formatting = 0;  // of the run being read; none outside a run
    while (reader.Next()) {
        if (reader.Type() == XML_READER_TYPE_END_ELEMENT && reader.Depth() == depth) return;
        if (IsSpreadsheetStart(reader, "rPh") || IsSpreadsheetStart(reader, "phoneticPr")) {
            reader.Skip();
        } else if (IsSpreadsheetStart(reader, "r")) {
            formatting = 0;
        } else if (IsSpreadsheetEnd(reader, "r")) {
            formatting = 0;
        } else if (IsSpreadsheetStart(reader, "rPr")) {
            formatting = ReadRunProperties(reader);
        } else if (IsSpreadsheetStart(reader, "t")) {
            const std::string text = ReadElementText(reader);
            if (!text.empty()) add(text, formatting);
        }
    }
}

}  // namespace orv::engine
