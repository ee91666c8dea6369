#include "engine/office/OdfTextReader.h"

#include <algorithm>
#include <charconv>
#include <unordered_set>

#include "engine/office/OdfNames.h"
#include "engine/office/OdfParagraphText.h"
#include "engine/office/OdfXml.h"

namespace orv::engine {
namespace {

// More spaces than this in one text:s are layout, not text: they change no count, and a
// hostile count would only cost memory.
constexpr int kMostSpaces = 32;

// Text that the application writes and updates by itself, which no translator translates:
// page numbers and counts, dates and times, document statistics, and the number of a heading
// or a list item.
// clang-format off
constexpr std::string_view kGeneratedFields[] = {
    "page-number", "page-count", "page-variable-get", "date", "time", "creation-date",
    "creation-time", "modification-date", "modification-time", "print-date", "print-time",
    "editing-duration", "word-count", "character-count", "paragraph-count", "image-count",
    "table-count", "object-count", "number",
};
// clang-format on

bool IsText(int type) {
    return type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
           type == XML_READER_TYPE_WHITESPACE || type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE;
}

bool IsParagraph(const XmlPartReader& reader) {
    return reader.IsStart(odf::kText, "p") || reader.IsStart(odf::kText, "h");
}

// Elements whose content is no text of the document, wherever they stand: deleted text kept
// for tracked changes, comments, the alternative texts of pictures, forms, animations,
// pictures kept inline as data, and the templates from which an index is generated.
bool HoldsNoText(const XmlPartReader& reader) {
    const std::string_view ns = reader.Namespace(), name = reader.LocalName();
    if (ns == odf::kText)
        return name == "tracked-changes" || name == "hidden-text" || name == "note-citation" ||
               (name.size() > 7 && name.substr(name.size() - 7) == "-source");
    if (ns == odf::kOffice) return name == "annotation" || name == "forms" || name == "binary-data";
    if (ns == odf::kSvg) return name == "title" || name == "desc";
    return ns == odf::kAnimation;
}

bool IsGeneratedField(const XmlPartReader& reader) {
    if (reader.Namespace() != odf::kText) return false;
    const std::string_view name = reader.LocalName();
    return std::find(std::begin(kGeneratedFields), std::end(kGeneratedFields), name) !=
           std::end(kGeneratedFields);
}

int SpacesOf(const std::string& count) {
    int value = 1;
    const auto [end, error] = std::from_chars(count.data(), count.data() + count.size(), value);
    if (count.empty() || error == std::errc::invalid_argument || value < 1) return 1;
    return error == std::errc::result_out_of_range ? kMostSpaces : std::min(value, kMostSpaces);
}

// A link or a style name longer than this tells formattings apart by its start alone: the key
// is compared and copied for each piece of text, and a hostile name may be megabytes long.
constexpr std::size_t kLongestKeyPart = 256;

std::string Shortened(const std::string& text) {
    if (text.size() <= kLongestKeyPart) return text;
    std::size_t end = kLongestKeyPart;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

// One formatting open inside a paragraph: a span or a hyperlink, at the depth of its element.
struct OpenFormatting {
    int depth;
    TextLook look;
    std::string commonName;
    std::string link;
    std::string key;
};

std::string KeyOf(const OpenFormatting& formatting) {
    std::string key = formatting.look.Key();
    const auto add = [&key](const std::string& part) {
        if (!key.empty()) key += ' ';
        key += part;
    };
    if (!formatting.commonName.empty())
        add("span class=\"" + Shortened(formatting.commonName) + "\"");
    if (!formatting.link.empty()) add("a href=\"" + Shortened(formatting.link) + "\"");
    return key;
}

std::wstring ContentKey(const std::vector<TextBlock>& blocks) {
    std::wstring key;
    for (const TextBlock& block : blocks) {
        key += block.text.text;
        for (const InlineCode& code : block.text.codes) key += L'\1' + code.content;
        key += L'\2';
    }
    return key;
}

}  // namespace

void OdfTextReader::ReadBlocks(std::vector<TextBlock>& out) {
    WalkBlocks([this, &out] { ReadParagraph(out); });
}

void OdfTextReader::WalkBlocks(const std::function<void()>& onParagraph, bool* sawPicture) {
    if (reader_.IsEmptyElement()) return;
    const int depth = reader_.Depth();
    while (reader_.Next()) {
        if (odf::IsEndOf(reader_, depth)) return;
        if (reader_.Type() != XML_READER_TYPE_ELEMENT) continue;
        if (IsParagraph(reader_)) {
            onParagraph();
        } else if (HoldsNoText(reader_)) {
            reader_.Skip();
        } else if (reader_.IsStart(odf::kText, "section") &&
                   reader_.Attribute("display", odf::kText) == "none") {
            reader_.Skip();
        } else if (reader_.IsStart(odf::kPresentation, "notes")) {
            // The speaker notes of a slide, read after all slides.
            WalkBlocks([this] { ReadParagraph(state_.notes); });
        } else if (reader_.Namespace() == odf::kDraw &&
                   (reader_.LocalName() == "image" || reader_.LocalName() == "object" ||
                    reader_.LocalName() == "object-ole")) {
            if (sawPicture) *sawPicture = true;
        }
        // Anything else (a list, a table, a row, a cell, a frame, a text box, a shape) holds
        // blocks of its own: the walk goes on inside it.
    }
    odf::RaiseNotWellFormed();
}

void OdfTextReader::ReadParagraph(std::vector<TextBlock>& out) {
    FormattedRuns runs;
    std::vector<TextBlock> anchored;
    const std::size_t notesBefore = state_.notes.size();
    if (!ReadRuns(runs, anchored)) {
        // A hidden paragraph hides what is anchored in it and its notes too.
        state_.notes.resize(notesBefore);
        return;
    }
    if (runs.HasText()) {
        BlockBuilder block;
        runs.AppendTo(block, state_.nextPair);
        out.push_back({block.Take(), false});
    }
    for (TextBlock& block : anchored) out.push_back(std::move(block));
}

bool OdfTextReader::ReadRuns(FormattedRuns& runs, std::vector<TextBlock>& anchored) {
    const ResolvedStyle paragraphStyle =
        state_.styles.Resolve("paragraph", reader_.Attribute("style-name", odf::kText));
    if (paragraphStyle.look.hidden.value_or(false)) {
        reader_.Skip();
        return false;
    }
    if (reader_.IsEmptyElement()) return true;

    OdfParagraphText text(runs);
    std::vector<OpenFormatting> open;
    open.push_back({reader_.Depth(), paragraphStyle.look, "", "", ""});
    open.back().key = KeyOf(open.back());
    bool hidden = false;
    while (reader_.Next()) {
        const int type = reader_.Type();
        if (type == XML_READER_TYPE_END_ELEMENT) {
            if (reader_.Depth() == open.front().depth) return !hidden;
            if (reader_.Depth() == open.back().depth) open.pop_back();
            continue;
        }
        if (IsText(type)) {
            text.AddXmlText(reader_.Value(), open.back().key);
            continue;
        }
        if (type != XML_READER_TYPE_ELEMENT) continue;

        const std::string_view ns = reader_.Namespace(), name = reader_.LocalName();
        if (ns == odf::kText && name == "span") {
            const ResolvedStyle style =
                state_.styles.Resolve("text", reader_.Attribute("style-name", odf::kText));
            OpenFormatting span{reader_.Depth(), style.look, style.commonName, open.back().link,
                                ""};
            span.look.FillFrom(open.back().look);
            if (span.commonName.empty()) span.commonName = open.back().commonName;
            if (span.look.hidden.value_or(false)) {
                reader_.Skip();
                continue;
            }
            span.key = KeyOf(span);
            if (!reader_.IsEmptyElement()) open.push_back(std::move(span));
        } else if (ns == odf::kText && name == "a") {
            OpenFormatting link = open.back();
            link.depth = reader_.Depth();
            link.link = Shortened(reader_.Attribute("href", odf::kXlink));
            link.key = KeyOf(link);
            if (!reader_.IsEmptyElement()) open.push_back(std::move(link));
        } else if (ns == odf::kText && name == "s") {
            text.AddSpaces(SpacesOf(reader_.Attribute("c", odf::kText)), open.back().key);
        } else if (ns == odf::kText && name == "tab") {
            text.AddCode(L"<text:tab/>");
        } else if (ns == odf::kText && name == "line-break") {
            text.AddCode(L"<text:line-break/>");
        } else if (ns == odf::kText && name == "note") {
            ReadNote();
        } else if (ns == odf::kText && name == "hidden-paragraph") {
            hidden = true;
            reader_.Skip();
        } else if (HoldsNoText(reader_) || IsGeneratedField(reader_)) {
            reader_.Skip();
        } else if (ns == odf::kDraw && name != "a") {
            if (ReadShape(anchored)) text.AddCode(L"<draw:frame/>");
        }
        // Anything else (a bookmark, a reference mark, a sequence number, a change mark, a
        // ruby) is transparent: its text is the paragraph's.
    }
    odf::RaiseNotWellFormed();
}

bool OdfTextReader::ReadShape(std::vector<TextBlock>& anchored) {
    bool sawPicture = reader_.LocalName() == "image";
    WalkBlocks([this, &anchored] { ReadParagraph(anchored); }, &sawPicture);
    return sawPicture;
}

void OdfTextReader::ReadNote() {
    if (reader_.IsEmptyElement()) return;
    const int depth = reader_.Depth();
    while (reader_.Next()) {
        if (odf::IsEndOf(reader_, depth)) return;
        if (!reader_.IsStart(odf::kText, "note-body")) {
            // The citation is the note's number, which the application writes.
            if (reader_.Type() == XML_READER_TYPE_ELEMENT) reader_.Skip();
            continue;
        }
        if (state_.multiSegmentNotes) {
            ReadBlocks(state_.notes);
            continue;
        }
        // One segment of all the note's paragraphs; what is anchored in them follows it.
        BlockBuilder note;
        bool noteHasText = false;  // kept, rather than asked of the block at each paragraph
        std::vector<TextBlock> anchored;
        WalkBlocks([&] {
            FormattedRuns runs;
            if (!ReadRuns(runs, anchored) || !runs.HasText()) return;
            if (noteHasText) note.AppendUtf8(" ", BlockBuilder::Spaces::Keep);
            runs.AppendTo(note, state_.nextPair);
            noteHasText = true;
        });
        if (noteHasText) state_.notes.push_back({note.Take(), true});
        for (TextBlock& block : anchored) state_.notes.push_back(std::move(block));
    }
    odf::RaiseNotWellFormed();
}

void OdfTextReader::ReadHeadersAndFooters(std::vector<TextBlock>& out) {
    static constexpr std::string_view kParts[] = {"header",      "footer",       "header-left",
                                                  "footer-left", "header-first", "footer-first"};
    std::unordered_set<std::wstring> seen;
    if (reader_.IsEmptyElement()) return;
    const int depth = reader_.Depth();
    while (reader_.Next()) {
        if (odf::IsEndOf(reader_, depth)) return;
        if (reader_.Type() != XML_READER_TYPE_ELEMENT ||
            reader_.IsStart(odf::kStyle, "master-page"))
            continue;
        const bool isPart = reader_.Namespace() == odf::kStyle &&
                            std::find(std::begin(kParts), std::end(kParts), reader_.LocalName()) !=
                                std::end(kParts);
        // A header switched off keeps its content in the file, but no page shows it; so is
        // the drawing of a presentation's master page.
        if (!isPart || reader_.Attribute("display", odf::kStyle) == "false") {
            reader_.Skip();
            continue;
        }
        std::vector<TextBlock> blocks;
        ReadBlocks(blocks);
        if (blocks.empty() || !seen.insert(ContentKey(blocks)).second) continue;
        for (TextBlock& block : blocks) out.push_back(std::move(block));
    }
    odf::RaiseNotWellFormed();
}

}  // namespace orv::engine
