#include "engine/office/WordContentReader.h"

#include "engine/office/OpcPackage.h"
#include "engine/office/WordNames.h"
#include "engine/office/WordRunFormatting.h"

namespace orv::engine {

using namespace word;

namespace {

// Fields nest a few deep (a page number inside a condition); deeper ones are hostile input.
constexpr std::size_t kMostNestedFields = 32;
// Enough of a field's code to tell its kind ("HYPERLINK", "PAGE").
constexpr std::size_t kInstructionPrefix = 32;

bool IsText(int type) {
    return type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
           type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE || type == XML_READER_TYPE_WHITESPACE;
}

// The text inside the current element (a w:t), up to its end.
void AppendTextOf(XmlPartReader& xml, std::string& text) {
    if (xml.IsEmptyElement()) return;
    const int depth = xml.Depth();
    while (xml.Next()) {
        if (xml.Type() == XML_READER_TYPE_END_ELEMENT && xml.Depth() == depth) return;
        if (IsText(xml.Type()))
            text += xml.Value();
        else
            xml.Skip();
    }
}

bool IsLinkInstruction(std::string_view instruction) {
    const std::size_t start = instruction.find_first_not_of(" \t");
    return start != std::string_view::npos && instruction.substr(start).starts_with("HYPERLINK");
}

bool IsCompatibility(const XmlPartReader& xml, std::string_view localName) {
    return xml.IsStart(kCompatibility, localName);
}

bool IsMath(const XmlPartReader& xml) {
    return (xml.Namespace() == kMath || xml.Namespace() == kStrictMath) &&
           (xml.LocalName() == "oMath" || xml.LocalName() == "oMathPara");
}

}  // namespace

WordContentReader::WordContentReader(XmlPartReader& xml, const WordStyles& styles, int& nextPair,
                                     WordReferences* references)
    : xml_(xml), styles_(styles), nextPair_(nextPair), references_(references) {}

void WordContentReader::ReadBlocks(std::vector<TextBlock>& blocks) {
    ForEachChild(xml_, [&] { ReadBlockChild(blocks); });
}

// Markup compatibility: the first choice is the one this reader understands (text boxes
// drawn as shapes); a fallback repeats the same content in an older form and would count it
// twice.
template <typename ReadChoice>
void WordContentReader::ReadAlternateContent(ReadChoice&& readChoice) {
    bool chosen = false;
    ForEachChild(xml_, [&] {
        if (!chosen && IsCompatibility(xml_, "Choice")) {
            chosen = true;
            readChoice();
        } else {
            xml_.Skip();
        }
    });
}

void WordContentReader::ReadBlockChild(std::vector<TextBlock>& blocks) {
    if (IsCompatibility(xml_, "AlternateContent")) {
        ReadAlternateContent([&] { ReadBlocks(blocks); });
        return;
    }
    if (!IsWordElement(xml_)) {
        ReadBlocks(blocks);
        return;
    }
    const std::string_view name = xml_.LocalName();
    if (name == "p") {
        ReadParagraph(blocks);
    } else if (name == "sectPr") {
        ReadSectionProperties();
    } else if (name == "del" || name == "moveFrom" || name == "sdtPr" || name == "sdtEndPr" ||
               name == "customXmlPr" || name == "tblPr" || name == "tblGrid" || name == "trPr" ||
               name == "tcPr" || name == "r") {
        xml_.Skip();
    } else {
        // Tables, rows, cells, content controls, custom markup, inserted revisions.
        ReadBlocks(blocks);
    }
}

void WordContentReader::ReadParagraph(std::vector<TextBlock>& blocks) {
    Paragraph paragraph;
    ReadInline(paragraph, false);
    if (paragraph.runs.HasText()) {
        BlockBuilder block;
        paragraph.runs.AppendTo(block, nextPair_);
        blocks.push_back({block.Take(), false});
    }
    for (TextBlock& box : paragraph.textBoxes) blocks.push_back(std::move(box));
}

void WordContentReader::ReadInline(Paragraph& paragraph, bool inLink) {
    ForEachChild(xml_, [&] { ReadInlineChild(paragraph, inLink); });
}

void WordContentReader::ReadInlineChild(Paragraph& paragraph, bool inLink) {
    if (IsCompatibility(xml_, "AlternateContent")) {
        ReadAlternateContent([&] { ReadInline(paragraph, inLink); });
        return;
    }
    if (IsMath(xml_)) {
        // A formula is kept as it is in a translation: one object in the sentence.
        if (!InFieldCode()) paragraph.runs.AddCode(L"<m:oMath/>");
        xml_.Skip();
        return;
    }
    if (!IsWordElement(xml_)) {
        ReadInline(paragraph, inLink);
        return;
    }
    const std::string_view name = xml_.LocalName();
    if (name == "r") {
        ReadRun(paragraph, inLink);
    } else if (name == "pPr") {
        ForEachChild(xml_, [&] {
            if (IsWordStart(xml_, "sectPr"))
                ReadSectionProperties();
            else
                xml_.Skip();
        });
    } else if (name == "hyperlink") {
        ReadInline(paragraph, true);
    } else if (name == "fldSimple") {
        ReadInline(paragraph, inLink || IsLinkInstruction(WordAttribute(xml_, "instr")));
    } else if (name == "del" || name == "moveFrom" || name == "sdtPr" || name == "sdtEndPr" ||
               name == "customXmlPr" || name == "smartTagPr" || name == "rPr") {
        xml_.Skip();
    } else {
        // Inserted revisions, content controls, smart tags, custom markup, text direction.
        ReadInline(paragraph, inLink);
    }
}

void WordContentReader::ReadRun(Paragraph& paragraph, bool inLink) {
    WordRunFormatting formatting;
    bool hidden = false;
    std::string key = formatting.Key(inLink);
    bool keyInFieldLink = false;
    ForEachChild(xml_, [&] {
        if (IsWordStart(xml_, "rPr")) {
            formatting = WordRunFormatting::Read(xml_);
            hidden = formatting.IsHidden(styles_);
            key = formatting.Key(inLink);
            keyInFieldLink = false;
            return;
        }
        // A field's structure counts even in hidden text, or its result would be lost.
        if (IsWordStart(xml_, "fldChar")) {
            ReadFieldChar();
            return;
        }
        if (IsWordStart(xml_, "instrText")) {
            ReadInstruction();
            return;
        }
        if (hidden || InFieldCode()) {
            xml_.Skip();
            return;
        }
        if (InFieldLink() != keyInFieldLink) {
            keyInFieldLink = InFieldLink();
            key = formatting.Key(inLink || keyInFieldLink);
        }
        ReadRunChild(paragraph, inLink || keyInFieldLink, key);
    });
}

void WordContentReader::ReadRunChild(Paragraph& paragraph, bool inLink, const std::string& key) {
    if (IsCompatibility(xml_, "AlternateContent")) {
        ReadAlternateContent(
            [&] { ForEachChild(xml_, [&] { ReadRunChild(paragraph, inLink, key); }); });
        return;
    }
    if (!IsWordElement(xml_)) {
        xml_.Skip();
        return;
    }
    const std::string_view name = xml_.LocalName();
    FormattedRuns& runs = paragraph.runs;
    if (name == "t") {
        std::string text;
        AppendTextOf(xml_, text);
        runs.AddText(text, key);
        return;
    }
    if (name == "tab" || name == "ptab") {
        runs.AddCode(L"<w:tab/>");
    } else if (name == "br") {
        runs.AddCode(L"<w:br/>");
    } else if (name == "cr") {
        runs.AddCode(L"<w:cr/>");
    } else if (name == "sym") {
        runs.AddCode(L"<w:sym/>");
    } else if (name == "noBreakHyphen") {
        runs.AddText("-", key);
    } else if (name == "pgNum") {
        runs.AddCode(L"<w:pgNum/>");
    } else if (name == "object") {
        runs.AddCode(L"<w:object/>");
    } else if (name == "footnoteReference" || name == "endnoteReference") {
        // Where the note's number stands in the sentence is kept, as a code.
        const bool isFootnote = name == "footnoteReference";
        if (references_) {
            std::string id = WordAttribute(xml_, "id");
            (isFootnote ? references_->footnotes : references_->endnotes).Add(std::move(id));
        }
        runs.AddCode(isFootnote ? L"<w:footnoteReference/>" : L"<w:endnoteReference/>");
    } else if (name == "drawing" || name == "pict") {
        ReadObject(paragraph, name == "drawing" ? L"<w:drawing/>" : L"<w:pict/>");
        return;
    } else if (name == "ruby") {
        // The base text is read; the reading guide above it is a help, not more text.
        ForEachChild(xml_, [&] {
            if (IsWordStart(xml_, "rubyBase"))
                ReadInline(paragraph, inLink);
            else
                xml_.Skip();
        });
        return;
    }
    // The soft hyphen, the deleted text of a revision, the paragraph's own note number, the
    // last rendered page break and the rest hold nothing to translate.
    xml_.Skip();
}

void WordContentReader::ReadObject(Paragraph& paragraph, const wchar_t* code) {
    paragraph.hasTextBox = false;
    FindTextBoxes(paragraph);
    // A shape with text is its text; a picture with none is an object in the sentence.
    if (!paragraph.hasTextBox) paragraph.runs.AddCode(code);
}

void WordContentReader::FindTextBoxes(Paragraph& paragraph) {
    ForEachChild(xml_, [&] {
        if (IsWordStart(xml_, "txbxContent")) {
            paragraph.hasTextBox = true;
            WordContentReader box(xml_, styles_, nextPair_, references_);
            box.ReadBlocks(paragraph.textBoxes);
        } else if (IsCompatibility(xml_, "AlternateContent")) {
            ReadAlternateContent([&] { FindTextBoxes(paragraph); });
        } else {
            FindTextBoxes(paragraph);
        }
    });
}

void WordContentReader::ReadSectionProperties() {
    ForEachChild(xml_, [&] {
        if (references_ &&
            (IsWordStart(xml_, "headerReference") || IsWordStart(xml_, "footerReference")))
            references_->headersAndFooters.Add(RelationshipAttribute(xml_));
        // A section's earlier properties (w:sectPrChange) are history.
        xml_.Skip();
    });
}

void WordContentReader::ReadFieldChar() {
    const std::string kind = WordAttribute(xml_, "fldCharType");
    xml_.Skip();
    if (kind == "begin") {
        if (fields_.size() >= kMostNestedFields) {
            ++fieldsBeyond_;
            return;
        }
        fields_.push_back({});
        ++fieldsInCode_;
    } else if (kind == "separate") {
        if (fieldsBeyond_ > 0 || fields_.empty() || !fields_.back().inCode) return;
        fields_.back().inCode = false;
        fields_.back().isLink = IsLinkInstruction(fields_.back().instruction);
        --fieldsInCode_;
    } else if (kind == "end") {
        if (fieldsBeyond_ > 0) {
            --fieldsBeyond_;
            return;
        }
        if (fields_.empty()) return;
        if (fields_.back().inCode) --fieldsInCode_;
        fields_.pop_back();
    }
}

void WordContentReader::ReadInstruction() {
    std::string text;
    AppendTextOf(xml_, text);
    if (fields_.empty() || !fields_.back().inCode) return;
    std::string& instruction = fields_.back().instruction;
    if (instruction.size() < kInstructionPrefix)
        instruction += text.substr(0, kInstructionPrefix - instruction.size());
}

bool WordContentReader::InFieldLink() const {
    for (const Field& field : fields_)
        if (!field.inCode && field.isLink) return true;
    return false;
}

}  // namespace orv::engine
