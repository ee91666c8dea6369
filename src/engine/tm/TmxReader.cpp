#include "engine/tm/TmxReader.h"

#include <libxml/parser.h>
#include <libxml/xmlreader.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "engine/model/EngineError.h"
#include "engine/system/FileFailure.h"
#include "engine/system/SystemFile.h"
#include "engine/text/Utf8.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmUsers.h"
#include "engine/xml/Libxml.h"
#include "engine/xml/ThreadErrorsRedirected.h"

namespace orv::engine {
namespace {

// Entities are left unsubstituted (no XML_PARSE_NOENT) and no DTD is loaded or validated, so
// nothing outside the file is read; no network either; and libxml2's limits on depth, text
// size and entity amplification stay on (no XML_PARSE_HUGE).
// Short texts are kept inside their nodes (XML_PARSE_COMPACT), which saves an allocation each.
// Line numbers above 65535 are kept too (XML_PARSE_BIG_LINES).
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_BIG_LINES;

constexpr std::size_t kSmallestUnitBytes = 160;
// Address space stays modest in a 32-bit process, whatever the file's size.
constexpr std::size_t kMostUnitsReserved = std::size_t{1} << 20;

struct FreeReader {
    void operator()(xmlTextReaderPtr reader) const noexcept { xmlFreeTextReader(reader); }
};
using ReaderHandle = std::unique_ptr<xmlTextReader, FreeReader>;

// The lines of the bytes read so far. At the end of a file that ends in a line break the
// parser counts the empty line after it, so a file cut short would be reported one line past
// its last; errors are held to the last line that holds anything. (A UTF-16 text may count a
// few lines too many, which only makes the limit looser.)
class LineCount {
public:
    void Add(std::string_view bytes) {
        for (char c : bytes) breaks_ += c == '\n' ? 1 : 0;
        if (!bytes.empty()) endsInBreak_ = bytes.back() == '\n';
    }
    int LastLine() const { return static_cast<int>(breaks_) + (endsInBreak_ ? 0 : 1); }

private:
    std::size_t breaks_ = 0;
    bool endsInBreak_ = false;
};

struct FileSource {
    SystemFile& file;
    LineCount lines;
};

int ReadFromFile(void* context, char* buffer, int length) {
    auto* source = static_cast<FileSource*>(context);
    std::size_t read = 0;
    try {
        read = source->file.Read(buffer, static_cast<std::size_t>(length));
    } catch (const FileFailure&) {
        return -1;  // the parser reports the file as cut short where the reading stopped
    }
    source->lines.Add(std::string_view(buffer, read));
    return static_cast<int>(read);
}

std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

bool IsTextNode(int type) {
    return type == XML_READER_TYPE_TEXT || type == XML_READER_TYPE_CDATA ||
           type == XML_READER_TYPE_WHITESPACE || type == XML_READER_TYPE_SIGNIFICANT_WHITESPACE;
}

std::wstring FoldedTag(const std::wstring& tag) {
    std::wstring folded = tag;
    for (wchar_t& c : folded) {
        if (c == L'_') c = L'-';
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return folded;
}

// A reader made by `make`. Making it already reads the file's first bytes, and a fault of
// their encoding would be printed to stderr; the parse that follows reports it in its words.
template <typename Make>
ReaderHandle NewReader(Make make) {
    const libxml::ThreadErrorsRedirected quiet(nullptr, nullptr);
    return ReaderHandle(make());
}

class TmxParser {
public:
    // `bytes`, the size of the file, lets the units be allocated once.
    // `lines` counts the lines read so far; it outlives the parser.
    TmxParser(xmlTextReaderPtr reader, const std::wstring& name, std::size_t bytes,
              const LineCount& lines, const StopCheck& stop = {});
    TranslationMemory Parse();

private:
    struct Language {
        std::wstring tag;  // as first written
        std::size_t same;  // the first language that SameLanguageTag matches
    };
    struct ParsedVariant {
        std::size_t language;
        Segment segment;
    };

    static void OnError(void* self, xmlErrorPtr error);
    TranslationMemory ParseRedirected();

    bool Read();
    int Type() const { return xmlTextReaderNodeType(reader_); }
    int Depth() const { return xmlTextReaderDepth(reader_); }
    bool IsEmpty() const { return xmlTextReaderIsEmptyElement(reader_) == 1; }
    bool NameIs(const xmlChar* wanted) const;
    std::string Attribute(const xmlChar* wanted);
    void Skip();
    [[noreturn]] void Fail(const std::wstring& what, int line) const;
    // The line of the element the reader stands on; the parser itself may be further on.
    int ElementLine() const;
    [[noreturn]] void FailWithParserError() const;

    void ReadHeader();
    void ReadUser(std::string_view entry, int line);
    void ReadBody();
    void ReadUnit();
    void ReadVariant();
    void ReadSegment();
    void ReadCode(InlineCode::Kind kind);
    void AppendSegmentText(const xmlChar* value);
    void NumberHighlights();
    void KeepUnit();
    void Finish();

    std::size_t Intern(std::string_view written);
    void AddTargetLanguage(std::size_t language);

    xmlTextReaderPtr reader_;
    const std::wstring& name_;
    const LineCount& lines_;
    const StopCheck stop_;
    const xmlChar* tmx_;
    const xmlChar* header_;
    const xmlChar* body_;
    const xmlChar* tu_;
    const xmlChar* tuv_;
    const xmlChar* seg_;
    const xmlChar* bpt_;
    const xmlChar* ept_;
    const xmlChar* it_;
    const xmlChar* ph_;
    const xmlChar* ut_;
    const xmlChar* hi_;
    const xmlChar* prop_;

    std::optional<std::wstring> parserError_;
    int parserErrorLine_ = 0;
    bool parserErrorWasFatal_ = false;

    std::vector<Language> languages_;
    std::unordered_map<std::string, std::size_t> languageByWritten_;
    std::unordered_map<std::wstring, std::size_t> languageByFolded_;
    // The header's source language; none for "*all*" or a missing header.
    std::optional<std::size_t> sourceLanguage_;
    bool rootSeen_ = false;
    bool headerSeen_ = false;
    bool bodySeen_ = false;
    std::vector<std::size_t> targetOrder_;  // `same` indices, in order of first appearance
    std::vector<bool> targetListed_;        // by `same` index
    std::vector<std::size_t> unitSources_;  // source language of each unit, without a header

    // The unit and the segment being read; kept between units for their capacity.
    std::vector<ParsedVariant> variants_;
    std::wstring text_;
    std::vector<InlineCode> codes_;
    std::vector<std::size_t> openHighlights_;  // indices in codes_ of unclosed hi Begins
    std::vector<std::pair<std::size_t, std::size_t>> highlights_;  // Begin and End indices

    TranslationMemory tm_;
};

TmxParser::TmxParser(xmlTextReaderPtr reader, const std::wstring& name, std::size_t bytes,
                     const LineCount& lines, const StopCheck& stop)
    : reader_(reader), name_(name), lines_(lines), stop_(stop) {
    // Hardly a unit takes less room in a file; pages reserved beyond the last unit are never
    // touched, so they cost no memory.
    tm_.units.reserve(std::min(bytes / kSmallestUnitBytes, kMostUnitsReserved));
    const auto intern = [reader](const char* text) {
        return xmlTextReaderConstString(reader, reinterpret_cast<const xmlChar*>(text));
    };
    tmx_ = intern("tmx");
    header_ = intern("header");
    body_ = intern("body");
    tu_ = intern("tu");
    tuv_ = intern("tuv");
    seg_ = intern("seg");
    bpt_ = intern("bpt");
    ept_ = intern("ept");
    it_ = intern("it");
    ph_ = intern("ph");
    ut_ = intern("ut");
    hi_ = intern("hi");
    prop_ = intern("prop");
    xmlTextReaderSetStructuredErrorHandler(reader_, &TmxParser::OnError, this);
}

TranslationMemory TmxParser::Parse() {
    const libxml::ThreadErrorsRedirected redirected(this, &TmxParser::OnError);
    try {
        return ParseRedirected();
    } catch (const std::bad_alloc&) {
        Fail(L"there is not enough memory to hold the TM", 0);
    }
}

void TmxParser::OnError(void* self, xmlErrorPtr error) {
    auto* parser = static_cast<TmxParser*>(self);
    // Warnings leave the content intact. The first fatal error is what the user needs to see;
    // the first other error stands in when the reader fails without a fatal one.
    if (error == nullptr || error->level < XML_ERR_ERROR) return;
    const bool fatal = error->level == XML_ERR_FATAL;
    if (parser->parserError_ && (parser->parserErrorWasFatal_ || !fatal)) return;
    std::wstring message = FromUtf8(Trimmed(error->message ? error->message : ""));
    parser->parserError_ = message.empty() ? L"the XML is not well-formed" : message;
    // Faults of the encoding conversion come without a line; the parser's is near enough.
    parser->parserErrorLine_ =
        error->line > 0 ? error->line : xmlTextReaderGetParserLineNumber(parser->reader_);
    parser->parserErrorWasFatal_ = fatal;
}

bool TmxParser::Read() {
    const int result = xmlTextReaderRead(reader_);
    if (result < 0) FailWithParserError();
    return result == 1;
}

bool TmxParser::NameIs(const xmlChar* wanted) const {
    const xmlChar* name = xmlTextReaderConstLocalName(reader_);
    // Names come from the reader's dictionary, so a match is nearly always the same pointer.
    return name == wanted || xmlStrEqual(name, wanted);
}

std::string TmxParser::Attribute(const xmlChar* wanted) {
    std::string value;
    while (xmlTextReaderMoveToNextAttribute(reader_) == 1) {
        if (NameIs(wanted) && xmlTextReaderConstPrefix(reader_) == nullptr) {
            value = View(xmlTextReaderConstValue(reader_));
            break;
        }
    }
    xmlTextReaderMoveToElement(reader_);
    return value;
}

void TmxParser::Skip() {
    if (IsEmpty()) return;
    const int depth = Depth();
    while (Read()) {
        if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) return;
    }
}

void TmxParser::Fail(const std::wstring& what, int line) const {
    std::wstring description = L"Cannot read TM " + name_ + L": ";
    if (line > 0)
        description += L"line " + std::to_wstring(std::min(line, lines_.LastLine())) + L": ";
    RaiseEngineError(description + what);
}

int TmxParser::ElementLine() const {
    const xmlNodePtr node = xmlTextReaderCurrentNode(reader_);
    return node ? static_cast<int>(xmlGetLineNo(node)) : 0;
}

void TmxParser::FailWithParserError() const {
    // libxml2 calls a text that does not begin with markup "empty".
    if (!rootSeen_ && parserError_ && parserError_->rfind(L"Document is empty", 0) == 0) {
        Fail(L"the file holds no XML element", parserErrorLine_);
    }
    if (parserError_) Fail(*parserError_, parserErrorLine_);
    Fail(L"the XML is not well-formed", xmlTextReaderGetParserLineNumber(reader_));
}

TranslationMemory TmxParser::ParseRedirected() {
    do {
        if (!Read()) Fail(L"the file holds no XML element", 0);
    } while (Type() != XML_READER_TYPE_ELEMENT);
    rootSeen_ = true;
    if (!NameIs(tmx_)) {
        Fail(L"the root element is <" + FromUtf8(View(xmlTextReaderConstName(reader_))) +
                 L">, not <tmx>",
             ElementLine());
    }
    if (!IsEmpty()) {
        while (Read()) {
            if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == 0) break;
            if (Type() != XML_READER_TYPE_ELEMENT) continue;
            if (NameIs(header_)) {
                ReadHeader();
            } else if (NameIs(body_)) {
                ReadBody();
            } else {
                Skip();
            }
        }
    }
    // Whatever follows the root must be well-formed too: a damaged file is never half read.
    while (Read()) {
    }
    Finish();
    return std::move(tm_);
}

void TmxParser::ReadHeader() {
    // Units read before a (misplaced) header already took their source without it.
    if (headerSeen_ || bodySeen_) return Skip();
    headerSeen_ = true;
    const std::string written = Attribute(reinterpret_cast<const xmlChar*>("srclang"));
    const std::string_view source = Trimmed(written);
    if (!source.empty() && !SameLanguageTag(FromUtf8(source), L"*all*")) {
        sourceLanguage_ = Intern(source);
    }
    if (IsEmpty()) return;
    const int depth = Depth();
    while (Read()) {
        if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) return;
        if (Type() != XML_READER_TYPE_ELEMENT) continue;
        const std::string type =
            NameIs(prop_) ? Attribute(reinterpret_cast<const xmlChar*>("type")) : std::string();
        if (type != kTmxTargetLanguageProperty && type != kTmxUserProperty) {
            Skip();
            continue;
        }
        const int line = ElementLine();
        std::string value;
        if (!IsEmpty()) {
            while (Read() && Type() != XML_READER_TYPE_END_ELEMENT) {
                if (IsTextNode(Type())) value += View(xmlTextReaderConstValue(reader_));
            }
        }
        if (type == kTmxUserProperty) {
            ReadUser(Trimmed(value), line);
        } else if (!Trimmed(value).empty()) {
            AddTargetLanguage(languages_[Intern(Trimmed(value))].same);
        }
    }
}

void TmxParser::ReadUser(std::string_view entry, int line) {
    // A damaged entry is never dropped: without it the TM could open for anyone.
    const std::size_t colon = entry.find(':');
    const std::wstring name = FromUtf8(entry.substr(0, std::min(colon, entry.size())));
    if (colon == std::string_view::npos || colon + 1 == entry.size())
        Fail(L"the user entry \"" + name + L"\" has no password hash", line);
    if (auto fault = TmUserNameFault(name)) Fail(L"a user entry is damaged: " + *fault, line);
    if (FindTmUser(tm_.users, name))
        Fail(L"the user \"" + name + L"\" is listed more than once", line);
    tm_.users.push_back({name, std::string(entry.substr(colon + 1))});
}

void TmxParser::ReadBody() {
    bodySeen_ = true;
    if (IsEmpty()) return;
    const int depth = Depth();
    while (Read()) {
        if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) return;
        if (Type() != XML_READER_TYPE_ELEMENT) continue;
        if (NameIs(tu_)) {
            ReadUnit();
            if (stop_ && stop_()) throw LoadCancelled{};
        } else {
            Skip();
        }
    }
}

void TmxParser::ReadUnit() {
    variants_.clear();
    if (IsEmpty()) return;
    const int depth = Depth();
    while (Read()) {
        if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) break;
        if (Type() != XML_READER_TYPE_ELEMENT) continue;
        if (NameIs(tuv_)) {
            ReadVariant();
        } else {
            Skip();  // prop, note and whatever else a tool adds
        }
    }
    KeepUnit();
}

void TmxParser::ReadVariant() {
    std::string language;
    bool fromXmlLang = false;
    const xmlChar* lang = reinterpret_cast<const xmlChar*>("lang");
    while (xmlTextReaderMoveToNextAttribute(reader_) == 1) {
        if (!NameIs(lang)) continue;
        const std::string_view prefix = View(xmlTextReaderConstPrefix(reader_));
        // xml:lang is TMX 1.4's attribute; a plain lang is the older spelling.
        if (prefix == "xml" || (prefix.empty() && !fromXmlLang)) {
            language = Trimmed(View(xmlTextReaderConstValue(reader_)));
            fromXmlLang = !prefix.empty();
        }
    }
    xmlTextReaderMoveToElement(reader_);
    if (language.empty()) {
        Fail(L"a <tuv> element has no xml:lang attribute", ElementLine());
    }
    const std::size_t languageIndex = Intern(language);

    if (IsEmpty()) return;
    const int depth = Depth();
    bool segmentRead = false;
    while (Read()) {
        if (Type() == XML_READER_TYPE_END_ELEMENT && Depth() == depth) return;
        if (Type() != XML_READER_TYPE_ELEMENT) continue;
        if (NameIs(seg_) && !segmentRead) {
            ReadSegment();
            // Copies of exactly the size needed; the scratch buffers keep their capacity.
            variants_.push_back(ParsedVariant{
                languageIndex,
                Segment{std::wstring(text_),
                        std::vector<InlineCode>(std::make_move_iterator(codes_.begin()),
                                                std::make_move_iterator(codes_.end()))}});
            segmentRead = true;
        } else {
            Skip();
        }
    }
}

void TmxParser::ReadSegment() {
    text_.clear();
    codes_.clear();
    openHighlights_.clear();
    highlights_.clear();
    if (IsEmpty()) return;
    const int depth = Depth();
    while (Read()) {
        const int type = Type();
        if (IsTextNode(type)) {
            AppendSegmentText(xmlTextReaderConstValue(reader_));
        } else if (type == XML_READER_TYPE_ELEMENT) {
            if (NameIs(bpt_)) {
                ReadCode(InlineCode::Kind::Begin);
            } else if (NameIs(ept_)) {
                ReadCode(InlineCode::Kind::End);
            } else if (NameIs(it_)) {
                ReadCode(InlineCode::Kind::Isolated);
            } else if (NameIs(ph_) || NameIs(ut_)) {
                ReadCode(InlineCode::Kind::Standalone);
            } else if (NameIs(hi_)) {
                // Its text stays text, between a Begin and an End of its own.
                text_.push_back(kCodeMark);
                codes_.push_back(InlineCode{InlineCode::Kind::Begin, {}, {}});
                if (IsEmpty()) {
                    text_.push_back(kCodeMark);
                    codes_.push_back(InlineCode{InlineCode::Kind::End, {}, {}});
                    highlights_.emplace_back(codes_.size() - 2, codes_.size() - 1);
                } else {
                    openHighlights_.push_back(codes_.size() - 1);
                }
            }
            // Any other element is markup the TM does not know: its text is kept as text.
        } else if (type == XML_READER_TYPE_END_ELEMENT) {
            if (Depth() == depth) break;
            if (NameIs(hi_) && !openHighlights_.empty()) {
                text_.push_back(kCodeMark);
                codes_.push_back(InlineCode{InlineCode::Kind::End, {}, {}});
                highlights_.emplace_back(openHighlights_.back(), codes_.size() - 1);
                openHighlights_.pop_back();
            }
        } else if (type == XML_READER_TYPE_ENTITY_REFERENCE) {
            // An entity of the file's own DTD is not expanded; it stays as what it is, markup.
            text_.push_back(kCodeMark);
            codes_.push_back(
                InlineCode{InlineCode::Kind::Standalone,
                           {},
                           L"&" + FromUtf8(View(xmlTextReaderConstName(reader_))) + L";"});
        }
    }
    NumberHighlights();
}

void TmxParser::ReadCode(InlineCode::Kind kind) {
    InlineCode code;
    code.kind = kind;
    if (kind == InlineCode::Kind::Begin || kind == InlineCode::Kind::End) {
        code.pairId = FromUtf8(Trimmed(Attribute(reinterpret_cast<const xmlChar*>("i"))));
    }
    if (!IsEmpty()) {
        // Everything inside, sub elements and their text included, is the code's content.
        const int depth = Depth();
        while (Read()) {
            const int type = Type();
            if (type == XML_READER_TYPE_END_ELEMENT && Depth() == depth) break;
            if (IsTextNode(type)) {
                AppendUtf8(code.content, View(xmlTextReaderConstValue(reader_)));
            } else if (type == XML_READER_TYPE_ENTITY_REFERENCE) {
                code.content += L"&" + FromUtf8(View(xmlTextReaderConstName(reader_))) + L";";
            }
        }
    }
    text_.push_back(kCodeMark);
    codes_.push_back(std::move(code));
}

void TmxParser::AppendSegmentText(const xmlChar* value) {
    const std::size_t from = text_.size();
    AppendUtf8(text_, View(value));
    // A mark character written in the file stands for no code; it becomes a code of its own,
    // so that marks and codes stay in step.
    for (auto at = text_.find(kCodeMark, from); at != std::wstring::npos;
         at = text_.find(kCodeMark, at + 1)) {
        codes_.push_back(InlineCode{InlineCode::Kind::Standalone, {}, std::wstring(1, kCodeMark)});
    }
}

void TmxParser::NumberHighlights() {
    if (highlights_.empty()) return;
    // hi carries no pair number of its own; it gets the lowest numbers no bpt/ept uses.
    std::sort(highlights_.begin(), highlights_.end());
    std::vector<std::wstring> used;
    for (const InlineCode& code : codes_) {
        if (!code.pairId.empty()) used.push_back(code.pairId);
    }
    std::sort(used.begin(), used.end());
    std::size_t next = 1;
    for (const auto& [begin, end] : highlights_) {
        std::wstring id = std::to_wstring(next++);
        while (std::binary_search(used.begin(), used.end(), id)) id = std::to_wstring(next++);
        codes_[begin].pairId = id;
        codes_[end].pairId = std::move(id);
    }
}

void TmxParser::KeepUnit() {
    if (variants_.empty()) return;
    std::size_t source = 0;
    if (sourceLanguage_) {
        const std::size_t wanted = languages_[*sourceLanguage_].same;
        const auto found =
            std::find_if(variants_.begin(), variants_.end(), [&](const ParsedVariant& variant) {
                return languages_[variant.language].same == wanted;
            });
        if (found == variants_.end()) return;  // nothing to match against
        source = static_cast<std::size_t>(found - variants_.begin());
    }
    const std::size_t sourceSame = languages_[variants_[source].language].same;

    TranslationUnit unit;
    unit.source = std::move(variants_[source].segment);
    unit.targets.reserve(variants_.size() - 1);
    for (ParsedVariant& variant : variants_) {
        const Language& language = languages_[variant.language];
        // A second variant in the source language is no translation.
        if (language.same == sourceSame) continue;
        AddTargetLanguage(language.same);
        unit.targets.push_back(Variant{language.tag, std::move(variant.segment)});
    }
    tm_.units.push_back(std::move(unit));
    if (!sourceLanguage_) unitSources_.push_back(variants_[source].language);
}

void TmxParser::Finish() {
    std::optional<std::size_t> sourceSame;
    if (sourceLanguage_) {
        sourceSame = languages_[*sourceLanguage_].same;
        tm_.sourceLanguage = languages_[*sourceLanguage_].tag;
    } else if (!unitSources_.empty()) {
        // The language most units start with; the earliest of equals.
        std::vector<std::size_t> counts(languages_.size());
        for (std::size_t language : unitSources_) ++counts[languages_[language].same];
        std::size_t best = languages_[unitSources_.front()].same;
        for (std::size_t language : unitSources_) {
            const std::size_t same = languages_[language].same;
            if (counts[same] > counts[best]) best = same;
        }
        sourceSame = best;
        tm_.sourceLanguage = languages_[best].tag;

        // Units that start in another language are turned round when they hold the TM's
        // source language, and left out when they do not.
        std::size_t kept = 0;
        for (std::size_t i = 0; i < tm_.units.size(); ++i) {
            TranslationUnit& unit = tm_.units[i];
            const std::size_t language = unitSources_[i];
            if (languages_[language].same != best) {
                const auto found = std::find_if(
                    unit.targets.begin(), unit.targets.end(), [&](const Variant& variant) {
                        return SameLanguageTag(variant.language, tm_.sourceLanguage);
                    });
                if (found == unit.targets.end()) continue;
                std::swap(unit.source, found->segment);
                found->language = languages_[language].tag;
                AddTargetLanguage(languages_[language].same);
            }
            if (kept != i) tm_.units[kept] = std::move(unit);
            ++kept;
        }
        tm_.units.erase(tm_.units.begin() + static_cast<std::ptrdiff_t>(kept), tm_.units.end());
    }

    tm_.targetLanguages.reserve(targetOrder_.size());
    for (std::size_t same : targetOrder_) {
        if (same != sourceSame) tm_.targetLanguages.push_back(languages_[same].tag);
    }
}

std::size_t TmxParser::Intern(std::string_view written) {
    const std::string key(written);
    if (const auto found = languageByWritten_.find(key); found != languageByWritten_.end()) {
        return found->second;
    }
    const std::size_t index = languages_.size();
    std::wstring tag = FromUtf8(written);
    const auto [same, inserted] = languageByFolded_.emplace(FoldedTag(tag), index);
    languages_.push_back(Language{std::move(tag), same->second});
    languageByWritten_.emplace(key, index);
    return index;
}

void TmxParser::AddTargetLanguage(std::size_t same) {
    if (same >= targetListed_.size()) targetListed_.resize(languages_.size());
    if (targetListed_[same]) return;
    targetListed_[same] = true;
    targetOrder_.push_back(same);
}

}  // namespace

TranslationMemory ReadTmxFile(const std::wstring& path, const StopCheck& stop) {
    const std::wstring failure = L"Cannot read TM " + path + L": ";
    SystemFile file;
    FileStatus status;
    try {
        file = SystemFile::OpenToRead(path);
        status = file.Status();
    } catch (const FileFailure& error) {
        RaiseEngineError(failure + FileProblemText(error.problem()));
    }
    if (status.kind == FileKind::Folder)
        RaiseEngineError(failure + FileProblemText(FileProblem::IsFolder));
    // A device or a pipe could be read for ever.
    if (status.kind != FileKind::Regular)
        RaiseEngineError(failure + FileProblemText(FileProblem::NotRegular));
    if (status.size == 0) RaiseEngineError(failure + L"the file is empty");

    libxml::Prepare();
    // The file stays ours (no close callback), and outlives the reader.
    FileSource source{file, {}};
    ReaderHandle reader = NewReader([&] {
        return xmlReaderForIO(&ReadFromFile, nullptr, &source, nullptr, nullptr, kParseOptions);
    });
    if (!reader) RaiseEngineError(L"Cannot read TM " + path + L": out of memory");
    return TmxParser(reader.get(), path, static_cast<std::size_t>(status.size), source.lines, stop)
        .Parse();
}

TranslationMemory ReadTmxBytes(std::string_view bytes, const std::wstring& name) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        RaiseEngineError(L"Cannot read TM " + name + L": the file is too large");
    }
    if (bytes.empty()) RaiseEngineError(L"Cannot read TM " + name + L": the file is empty");
    libxml::Prepare();
    ReaderHandle reader = NewReader([&] {
        return xmlReaderForMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                                  kParseOptions);
    });
    if (!reader) RaiseEngineError(L"Cannot read TM " + name + L": out of memory");
    LineCount lines;
    lines.Add(bytes);
    return TmxParser(reader.get(), name, bytes.size(), lines).Parse();
}

}  // namespace orv::engine
