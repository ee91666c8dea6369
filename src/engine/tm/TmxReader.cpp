#include "engine/tm/TmxReader.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>
#include <cstring>
#include <exception>
#include <functional>
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
// XML_PARSE_COMPACT and XML_PARSE_BIG_LINES only matter to the trees libxml2 builds for the
// entities of the file's own DTD.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_COMPACT | XML_PARSE_BIG_LINES;

constexpr std::size_t kSmallestUnitBytes = 160;
// Address space stays modest in a 32-bit process, whatever the file's size.
constexpr std::size_t kMostUnitsReserved = std::size_t{1} << 20;
// The bytes handed to the parser at a time.
constexpr std::size_t kChunkBytes = std::size_t{1} << 16;

// The lines of the bytes read so far. At the end of a file that ends in a line break the
// parser counts the empty line after it, so a file cut short would be reported one line past
// its last; errors are held to the last line that holds anything. (A UTF-16 text may count a
// few lines too many, which only makes the limit looser.)
class LineCount {
public:
    void Add(std::string_view bytes) {
        const char* at = bytes.data();
        const char* const end = at + bytes.size();
        while ((at = static_cast<const char*>(std::memchr(at, '\n', end - at))) != nullptr) {
            ++breaks_;
            if (++at == end) break;
        }
        if (!bytes.empty()) endsInBreak_ = bytes.back() == '\n';
    }
    int LastLine() const { return static_cast<int>(breaks_) + (endsInBreak_ ? 0 : 1); }

private:
    std::size_t breaks_ = 0;
    bool endsInBreak_ = false;
};

// The next bytes of the file; empty at its end (or where it can no longer be read, which
// the parser reports as a file cut short).
using NextBytes = std::function<std::string_view()>;

std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// The `length` bytes of text a SAX2 callback hands over.
std::string_view Chars(const xmlChar* text, int length) {
    return std::string_view(reinterpret_cast<const char*>(text), static_cast<std::size_t>(length));
}

std::string_view Trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

// The attributes of a start tag as SAX2 hands them over: five pointers each (local name,
// prefix, namespace, value, end of value).
struct Attributes {
    const xmlChar** at;
    int count;
};

// How much of the file is read: all of it; the header; or all but the content of the
// segments, for the languages and the number of units.
enum class Extent { Whole, Header, Outline };

// Reads a TMX file as libxml2's SAX2 parser goes through it: no tree is built, and each text
// is turned into the TM's form as it arrives.
class TmxParser {
public:
    // `bytes`, the size of the file, lets the units be allocated once.
    // With a `sink`, the units go there instead of into the TM.
    TmxParser(const std::wstring& name, std::size_t bytes, Extent extent,
              const StopCheck& stop = {}, TmxUnitSink sink = {});
    ~TmxParser();
    TmxParser(const TmxParser&) = delete;
    TmxParser& operator=(const TmxParser&) = delete;

    TranslationMemory Parse(const NextBytes& next);
    TmxHeader ParseHeader(const NextBytes& next);
    TmxOutline ParseOutline(const NextBytes& next);

private:
    struct Language {
        std::wstring tag;  // as first written
        std::size_t same;  // the first language that SameLanguageTag matches
    };
    struct ParsedVariant {
        std::size_t language;
        Segment segment;
    };
    // Where in the file the parser is; each place but BeforeRoot and AfterRoot is an element.
    enum class Place {
        BeforeRoot,
        Root,
        Header,
        Property,  // a header prop whose text is read
        Body,
        Unit,
        Variant,
        Segment,
        Code,  // bpt, ept, it, ph or ut: all inside is its content
        AfterRoot,
    };

    static void OnError(void* self, xmlErrorPtr error);
    void Run(const NextBytes& next);
    void Push(std::string_view bytes, bool last);

    // The SAX2 callbacks. libxml2 also parses the content of the file's own entities with
    // them, in a parser of its own; that goes to libxml2's tree builder, as it did before.
    static TmxParser* Of(void* context);
    static void OnStart(void* context, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri, int namespaces, const xmlChar** namespaceValues,
                        int attributes, int defaulted, const xmlChar** attributeValues);
    static void OnEnd(void* context, const xmlChar* localName, const xmlChar* prefix,
                      const xmlChar* uri);
    static void OnText(void* context, const xmlChar* text, int length);
    static void OnCdata(void* context, const xmlChar* text, int length);
    static void OnReference(void* context, const xmlChar* name);
    static void OnComment(void* context, const xmlChar* text);
    static void OnInstruction(void* context, const xmlChar* target, const xmlChar* data);
    static const xmlSAXHandler& Handler();
    // Runs a callback's work; what it throws ends the parse and is thrown again by Push.
    template <typename Work>
    void Guarded(Work work);

    void Start(const xmlChar* name, const xmlChar* prefix, Attributes attributes);
    void End(const xmlChar* name);
    void Text(std::string_view text);
    void Reference(std::string_view name);

    bool Is(const xmlChar* name, const xmlChar* wanted) const {
        // Names come from the parser's dictionary, so a match is nearly always the same pointer.
        return name == wanted || xmlStrEqual(name, wanted);
    }
    // The value of the unprefixed attribute `wanted`, entity references resolved; empty when
    // there is none.
    std::string Attribute(Attributes attributes, const char* wanted) const;
    std::string Value(const xmlChar* const* attribute) const;
    void SkipFrom(int level) { skipTo_ = level; }
    void Stop();
    int Line() const { return ctxt_ && ctxt_->input ? ctxt_->input->line : 0; }
    [[noreturn]] void Fail(const std::wstring& what, int line) const;
    [[noreturn]] void FailWithParserError() const;

    void StartHeader(Attributes attributes, int level);
    void StartProperty(bool empty);
    void EndProperty();
    void ReadUser(std::string_view entry, int line);
    void StartVariant(Attributes attributes);
    void StartSegment();
    void EndSegment();
    void StartCode(InlineCode::Kind kind, Attributes attributes, int level);
    void AppendSegmentText(std::string_view text);
    void NumberHighlights();
    void KeepUnit();
    void Finish();

    std::size_t Intern(std::string_view written);
    void AddTargetLanguage(std::size_t language);

    const std::wstring& name_;
    const Extent extent_;
    const StopCheck stop_;
    const TmxUnitSink sink_;
    LineCount lines_;
    xmlParserCtxtPtr ctxt_ = nullptr;
    const xmlChar* tmx_ = nullptr;
    const xmlChar* header_ = nullptr;
    const xmlChar* body_ = nullptr;
    const xmlChar* tu_ = nullptr;
    const xmlChar* tuv_ = nullptr;
    const xmlChar* seg_ = nullptr;
    const xmlChar* bpt_ = nullptr;
    const xmlChar* ept_ = nullptr;
    const xmlChar* it_ = nullptr;
    const xmlChar* ph_ = nullptr;
    const xmlChar* ut_ = nullptr;
    const xmlChar* hi_ = nullptr;
    const xmlChar* prop_ = nullptr;
    const xmlChar* lang_ = nullptr;
    const xmlChar* xml_ = nullptr;

    std::optional<std::wstring> parserError_;
    int parserErrorLine_ = 0;
    bool parserErrorWasFatal_ = false;
    std::exception_ptr thrown_;  // by a callback
    bool headerRead_ = false;    // the header-only reading has reached the body

    Place place_ = Place::BeforeRoot;
    int open_ = 0;         // elements open
    int skipTo_ = -1;      // the level of the element skipped with all it holds
    int emptyLevel_ = -1;  // the level of the element just started, when written empty

    std::vector<Language> languages_;
    std::unordered_map<std::string, std::size_t> languageByWritten_;
    std::vector<std::string> languageWritten_;  // by index
    std::array<std::size_t, 4> recentLanguages_{SIZE_MAX, SIZE_MAX, SIZE_MAX, SIZE_MAX};
    std::size_t nextRecent_ = 0;
    std::unordered_map<std::wstring, std::size_t> languageByFolded_;
    std::wstring headerSource_;  // as written
    // The header's source language; none for "*all*" or a missing header.
    std::optional<std::size_t> sourceLanguage_;
    bool rootSeen_ = false;
    bool headerSeen_ = false;
    bool bodySeen_ = false;
    std::vector<std::size_t> targetOrder_;  // `same` indices, in order of first appearance
    std::vector<bool> targetListed_;        // by `same` index
    std::vector<std::size_t> unitSources_;  // source language of each unit, without a header

    // The header property being read.
    std::string propertyType_;
    std::string propertyValue_;
    int propertyLine_ = 0;

    // The unit, the variant, the segment and the code being read; kept between units for
    // their capacity.
    std::vector<ParsedVariant> variants_;
    std::size_t variantLanguage_ = 0;
    bool segmentRead_ = false;
    std::wstring text_;
    std::vector<InlineCode> codes_;
    std::vector<std::size_t> openHighlights_;  // indices in codes_ of unclosed hi Begins
    std::vector<std::pair<std::size_t, std::size_t>> highlights_;  // Begin and End indices
    InlineCode code_;
    int codeLevel_ = 0;

    TranslationMemory tm_;
    std::size_t unitsCounted_ = 0;  // the outline's units, when it has a source language
};

TmxParser::TmxParser(const std::wstring& name, std::size_t bytes, Extent extent,
                     const StopCheck& stop, TmxUnitSink sink)
    : name_(name), extent_(extent), stop_(stop), sink_(std::move(sink)) {
    // Hardly a unit takes less room in a file; pages reserved beyond the last unit are never
    // touched, so they cost no memory.
    if (extent_ == Extent::Whole && !sink_)
        tm_.units.reserve(std::min(bytes / kSmallestUnitBytes, kMostUnitsReserved));
}

TmxParser::~TmxParser() {
    if (ctxt_ == nullptr) return;
    // The document that holds the file's DTD, when it has one.
    if (ctxt_->myDoc) xmlFreeDoc(ctxt_->myDoc);
    xmlFreeParserCtxt(ctxt_);
}

TranslationMemory TmxParser::Parse(const NextBytes& next) {
    const libxml::ThreadErrorsRedirected redirected(this, &TmxParser::OnError);
    try {
        Run(next);
        Finish();
    } catch (const std::bad_alloc&) {
        Fail(L"there is not enough memory to hold the TM", 0);
    }
    return std::move(tm_);
}

TmxHeader TmxParser::ParseHeader(const NextBytes& next) {
    const libxml::ThreadErrorsRedirected redirected(this, &TmxParser::OnError);
    TmxHeader header;
    try {
        Run(next);
        header.sourceLanguage = headerSource_;
        for (std::size_t same : targetOrder_)
            header.targetLanguages.push_back(languages_[same].tag);
    } catch (const std::bad_alloc&) {
        Fail(L"there is not enough memory to hold the TM", 0);
    }
    header.users = std::move(tm_.users);
    return header;
}

TmxOutline TmxParser::ParseOutline(const NextBytes& next) {
    TmxOutline outline;
    outline.tm = Parse(next);
    outline.units = unitsCounted_ + outline.tm.units.size();
    outline.tm.units = {};
    return outline;
}

void TmxParser::OnError(void* self, xmlErrorPtr error) {
    auto* parser = static_cast<TmxParser*>(self);
    // Warnings leave the content intact. The first fatal error is what the user needs to see;
    // the first other error stands in when the parser fails without a fatal one.
    if (error == nullptr || error->level < XML_ERR_ERROR) return;
    const bool fatal = error->level == XML_ERR_FATAL;
    if (parser->parserError_ && (parser->parserErrorWasFatal_ || !fatal)) return;
    std::wstring message = FromUtf8(Trimmed(error->message ? error->message : ""));
    parser->parserError_ = message.empty() ? L"the XML is not well-formed" : message;
    // Faults of the encoding conversion come without a line; the parser's is near enough.
    parser->parserErrorLine_ = error->line > 0 ? error->line : parser->Line();
    parser->parserErrorWasFatal_ = fatal;
}

void TmxParser::Run(const NextBytes& next) {
    std::string_view bytes = next();
    lines_.Add(bytes);
    // The parser tells the encoding from the first four bytes, as it is made; a fault of
    // theirs would be printed to stderr, and the parse that follows reports it in its words.
    const std::string_view first = bytes.substr(0, 4);
    bytes.remove_prefix(first.size());
    {
        const libxml::ThreadErrorsRedirected quiet(nullptr, nullptr);
        ctxt_ = xmlCreatePushParserCtxt(const_cast<xmlSAXHandler*>(&Handler()), nullptr,
                                        first.data(), static_cast<int>(first.size()), nullptr);
    }
    if (ctxt_ == nullptr) Fail(L"out of memory", 0);
    ctxt_->_private = this;
    xmlCtxtUseOptions(ctxt_, kParseOptions);
    const auto intern = [this](const char* text) {
        const xmlChar* name =
            xmlDictLookup(ctxt_->dict, reinterpret_cast<const xmlChar*>(text), -1);
        if (name == nullptr) throw std::bad_alloc();
        return name;
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
    lang_ = intern("lang");
    xml_ = intern("xml");

    while (!headerRead_) {
        while (!bytes.empty() && !headerRead_) {
            const std::string_view chunk = bytes.substr(0, kChunkBytes);
            bytes.remove_prefix(chunk.size());
            Push(chunk, false);
        }
        if (headerRead_) return;
        bytes = next();
        if (bytes.empty()) break;
        lines_.Add(bytes);
    }
    // Whatever follows the root must be well-formed too: a damaged file is never half read.
    Push({}, true);
    if (!rootSeen_) Fail(L"the file holds no XML element", 0);
}

void TmxParser::Push(std::string_view bytes, bool last) {
    const int result =
        xmlParseChunk(ctxt_, bytes.data(), static_cast<int>(bytes.size()), last ? 1 : 0);
    if (thrown_) std::rethrow_exception(thrown_);
    if (headerRead_) return;
    if (result != 0 || !ctxt_->wellFormed) FailWithParserError();
}

TmxParser* TmxParser::Of(void* context) {
    // The callbacks get the parser's context; an entity's content comes with another one.
    auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
    auto* parser = static_cast<TmxParser*>(ctxt->_private);
    return parser != nullptr && parser->ctxt_ == ctxt ? parser : nullptr;
}

void TmxParser::OnStart(void* context, const xmlChar* localName, const xmlChar* prefix,
                        const xmlChar* uri, int namespaces, const xmlChar** namespaceValues,
                        int attributes, int defaulted, const xmlChar** attributeValues) {
    TmxParser* parser = Of(context);
    if (parser == nullptr) {
        xmlSAX2StartElementNs(context, localName, prefix, uri, namespaces, namespaceValues,
                              attributes, defaulted, attributeValues);
        return;
    }
    // Defaults of the DTD's attribute lists come last; without XML_PARSE_DTDATTR they are
    // not the element's.
    parser->Guarded([&] {
        parser->Start(localName, prefix, Attributes{attributeValues, attributes - defaulted});
    });
}

void TmxParser::OnEnd(void* context, const xmlChar* localName, const xmlChar* prefix,
                      const xmlChar* uri) {
    TmxParser* parser = Of(context);
    if (parser == nullptr) return xmlSAX2EndElementNs(context, localName, prefix, uri);
    parser->Guarded([&] { parser->End(localName); });
}

void TmxParser::OnText(void* context, const xmlChar* text, int length) {
    TmxParser* parser = Of(context);
    if (parser == nullptr) return xmlSAX2Characters(context, text, length);
    parser->Guarded([&] { parser->Text(Chars(text, length)); });
}

void TmxParser::OnCdata(void* context, const xmlChar* text, int length) {
    TmxParser* parser = Of(context);
    if (parser == nullptr) return xmlSAX2CDataBlock(context, text, length);
    parser->Guarded([&] { parser->Text(Chars(text, length)); });
}

void TmxParser::OnReference(void* context, const xmlChar* name) {
    TmxParser* parser = Of(context);
    if (parser == nullptr) return xmlSAX2Reference(context, name);
    parser->Guarded([&] { parser->Reference(View(name)); });
}

void TmxParser::OnComment(void* context, const xmlChar* text) {
    if (Of(context) == nullptr) xmlSAX2Comment(context, text);
}

void TmxParser::OnInstruction(void* context, const xmlChar* target, const xmlChar* data) {
    if (Of(context) == nullptr) xmlSAX2ProcessingInstruction(context, target, data);
}

const xmlSAXHandler& TmxParser::Handler() {
    static const xmlSAXHandler handler = [] {
        // libxml2's own handling of the DTD and its entities, with the document's content
        // taken here.
        xmlSAXHandler made{};
        xmlSAXVersion(&made, 2);
        made.startElementNs = &OnStart;
        made.endElementNs = &OnEnd;
        made.characters = &OnText;
        made.ignorableWhitespace = &OnText;
        made.cdataBlock = &OnCdata;
        made.reference = &OnReference;
        made.comment = &OnComment;
        made.processingInstruction = &OnInstruction;
        made.serror = nullptr;  // to the thread's handler, which the parse redirects
        return made;
    }();
    return handler;
}

template <typename Work>
void TmxParser::Guarded(Work work) {
    if (thrown_) return;
    try {
        work();
    } catch (...) {
        // Nothing may be thrown through libxml2's C code.
        thrown_ = std::current_exception();
        xmlStopParser(ctxt_);
    }
}

void TmxParser::Stop() {
    headerRead_ = true;
    xmlStopParser(ctxt_);
}

std::string TmxParser::Value(const xmlChar* const* attribute) const {
    const std::string_view value(reinterpret_cast<const char*>(attribute[3]),
                                 static_cast<std::size_t>(attribute[4] - attribute[3]));
    // SAX2 leaves references in attribute values for the tree builder to resolve.
    if (value.find('&') == std::string_view::npos) return std::string(value);
    xmlChar* resolved = xmlStringLenDecodeEntities(
        ctxt_, attribute[3], static_cast<int>(value.size()), XML_SUBSTITUTE_REF, 0, 0, 0);
    if (resolved == nullptr) return std::string(value);
    std::string text(View(resolved));
    xmlFree(resolved);
    return text;
}

std::string TmxParser::Attribute(Attributes attributes, const char* wanted) const {
    const xmlChar* name = reinterpret_cast<const xmlChar*>(wanted);
    for (int i = 0; i < attributes.count; ++i) {
        const xmlChar* const* attribute = attributes.at + 5 * i;
        if (attribute[1] == nullptr && Is(attribute[0], name)) return Value(attribute);
    }
    return {};
}

void TmxParser::Fail(const std::wstring& what, int line) const {
    std::wstring description = L"Cannot read TM " + name_ + L": ";
    if (line > 0)
        description += L"line " + std::to_wstring(std::min(line, lines_.LastLine())) + L": ";
    RaiseEngineError(description + what);
}

void TmxParser::FailWithParserError() const {
    // libxml2 calls a text that does not begin with markup "empty".
    if (!rootSeen_ && parserError_ && parserError_->rfind(L"Document is empty", 0) == 0) {
        Fail(L"the file holds no XML element", parserErrorLine_);
    }
    if (parserError_) Fail(*parserError_, parserErrorLine_);
    Fail(L"the XML is not well-formed", Line());
}

void TmxParser::Start(const xmlChar* name, const xmlChar* prefix, Attributes attributes) {
    const int level = open_++;
    // The parser stands where the start tag ends.
    const xmlChar* const after = ctxt_->input ? ctxt_->input->cur : nullptr;
    const bool empty = after != nullptr && after[0] == '/' && after[1] == '>';
    emptyLevel_ = empty ? level : -1;
    if (skipTo_ >= 0) return;
    switch (place_) {
        case Place::BeforeRoot:
            rootSeen_ = true;
            if (!Is(name, tmx_)) {
                std::string written = prefix ? std::string(View(prefix)) + ":" : std::string();
                written += View(name);
                Fail(L"the root element is <" + FromUtf8(written) + L">, not <tmx>", Line());
            }
            place_ = Place::Root;
            return;
        case Place::Root:
            if (Is(name, header_)) return StartHeader(attributes, level);
            if (Is(name, body_)) {
                bodySeen_ = true;
                place_ = Place::Body;
                if (extent_ == Extent::Header) Stop();
                return;
            }
            return SkipFrom(level);
        case Place::Header:
            if (Is(name, prop_)) {
                const std::string type = Attribute(attributes, "type");
                if (type == kTmxTargetLanguageProperty || type == kTmxUserProperty) {
                    propertyType_ = type;
                    return StartProperty(empty);
                }
            }
            return SkipFrom(level);
        case Place::Body:
            if (!Is(name, tu_)) return SkipFrom(level);
            variants_.clear();
            place_ = Place::Unit;
            return;
        case Place::Unit:
            if (!Is(name, tuv_))
                return SkipFrom(level);  // prop, note and whatever else a tool adds
            return StartVariant(attributes);
        case Place::Variant:
            if (!Is(name, seg_) || segmentRead_) return SkipFrom(level);
            if (extent_ == Extent::Outline) {
                variants_.push_back(ParsedVariant{variantLanguage_, {}});
                segmentRead_ = true;
                return SkipFrom(level);
            }
            return StartSegment();
        case Place::Segment:
            if (Is(name, bpt_)) return StartCode(InlineCode::Kind::Begin, attributes, level);
            if (Is(name, ept_)) return StartCode(InlineCode::Kind::End, attributes, level);
            if (Is(name, it_)) return StartCode(InlineCode::Kind::Isolated, attributes, level);
            if (Is(name, ph_) || Is(name, ut_))
                return StartCode(InlineCode::Kind::Standalone, attributes, level);
            if (Is(name, hi_)) {
                // Its text stays text, between a Begin and an End of its own.
                text_.push_back(kCodeMark);
                codes_.push_back(InlineCode{InlineCode::Kind::Begin, {}, {}});
                openHighlights_.push_back(codes_.size() - 1);
            }
            // Any other element is markup the TM does not know: its text is kept as text.
            return;
        case Place::Property:
        case Place::Code:
        case Place::AfterRoot:
            return;
    }
}

void TmxParser::End(const xmlChar* name) {
    const int level = --open_;
    if (skipTo_ >= 0) {
        if (level == skipTo_) skipTo_ = -1;
        return;
    }
    switch (place_) {
        case Place::Root:
            if (level == 0) place_ = Place::AfterRoot;
            return;
        case Place::Header:
        case Place::Body:
            if (level == 1) place_ = Place::Root;
            return;
        case Place::Property:
            // The text of a property ends where its first element ends, one written empty aside.
            if (level != emptyLevel_) EndProperty();
            return;
        case Place::Unit:
            if (level != 2) return;
            KeepUnit();
            place_ = Place::Body;
            if (stop_ && stop_()) throw LoadCancelled{};
            return;
        case Place::Variant:
            if (level == 3) place_ = Place::Unit;
            return;
        case Place::Segment:
            if (level == 4) return EndSegment();
            if (Is(name, hi_) && !openHighlights_.empty()) {
                text_.push_back(kCodeMark);
                codes_.push_back(InlineCode{InlineCode::Kind::End, {}, {}});
                highlights_.emplace_back(openHighlights_.back(), codes_.size() - 1);
                openHighlights_.pop_back();
            }
            return;
        case Place::Code:
            if (level != codeLevel_) return;
            text_.push_back(kCodeMark);
            codes_.push_back(std::move(code_));
            place_ = Place::Segment;
            return;
        case Place::BeforeRoot:
        case Place::AfterRoot:
            return;
    }
}

void TmxParser::Text(std::string_view text) {
    if (skipTo_ >= 0) return;
    switch (place_) {
        case Place::Property:
            propertyValue_ += text;
            return;
        case Place::Segment:
            return AppendSegmentText(text);
        case Place::Code:
            AppendUtf8(code_.content, text);
            return;
        default:
            return;
    }
}

void TmxParser::Reference(std::string_view name) {
    if (skipTo_ >= 0) return;
    // An entity of the file's own DTD is not expanded; it stays as what it is, markup.
    if (place_ == Place::Segment) {
        text_.push_back(kCodeMark);
        codes_.push_back(
            InlineCode{InlineCode::Kind::Standalone, {}, L"&" + FromUtf8(name) + L";"});
    } else if (place_ == Place::Code) {
        code_.content += L"&" + FromUtf8(name) + L";";
    }
}

void TmxParser::StartHeader(Attributes attributes, int level) {
    // Units read before a (misplaced) header already took their source without it.
    if (headerSeen_ || bodySeen_) return SkipFrom(level);
    headerSeen_ = true;
    place_ = Place::Header;
    const std::string written = Attribute(attributes, "srclang");
    const std::string_view source = Trimmed(written);
    headerSource_ = FromUtf8(source);
    if (!source.empty() && !SameLanguageTag(headerSource_, L"*all*")) {
        sourceLanguage_ = Intern(source);
    }
}

void TmxParser::StartProperty(bool empty) {
    propertyLine_ = Line();
    propertyValue_.clear();
    place_ = Place::Property;
    if (empty) EndProperty();
}

void TmxParser::EndProperty() {
    place_ = Place::Header;
    const std::string_view value = Trimmed(propertyValue_);
    if (propertyType_ == kTmxUserProperty) {
        ReadUser(value, propertyLine_);
    } else if (!value.empty()) {
        AddTargetLanguage(languages_[Intern(value)].same);
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

void TmxParser::StartVariant(Attributes attributes) {
    std::string language;
    bool fromXmlLang = false;
    for (int i = 0; i < attributes.count; ++i) {
        const xmlChar* const* attribute = attributes.at + 5 * i;
        if (!Is(attribute[0], lang_)) continue;
        const bool xmlPrefix = attribute[1] != nullptr && Is(attribute[1], xml_);
        // xml:lang is TMX 1.4's attribute; a plain lang is the older spelling.
        if (xmlPrefix || (attribute[1] == nullptr && !fromXmlLang)) {
            language = Trimmed(Value(attribute));
            fromXmlLang = xmlPrefix;
        }
    }
    if (language.empty()) Fail(L"a <tuv> element has no xml:lang attribute", Line());
    variantLanguage_ = Intern(language);
    segmentRead_ = false;
    place_ = Place::Variant;
}

void TmxParser::StartSegment() {
    text_.clear();
    codes_.clear();
    openHighlights_.clear();
    highlights_.clear();
    place_ = Place::Segment;
}

void TmxParser::EndSegment() {
    NumberHighlights();
    // Copies of exactly the size needed; the scratch buffers keep their capacity.
    variants_.push_back(ParsedVariant{
        variantLanguage_, Segment{std::wstring(text_),
                                  std::vector<InlineCode>(std::make_move_iterator(codes_.begin()),
                                                          std::make_move_iterator(codes_.end()))}});
    segmentRead_ = true;
    place_ = Place::Variant;
}

void TmxParser::StartCode(InlineCode::Kind kind, Attributes attributes, int level) {
    code_ = InlineCode{};
    code_.kind = kind;
    if (kind == InlineCode::Kind::Begin || kind == InlineCode::Kind::End)
        code_.pairId = FromUtf8(Trimmed(Attribute(attributes, "i")));
    // Everything inside, sub elements and their text included, is the code's content.
    codeLevel_ = level;
    place_ = Place::Code;
}

void TmxParser::AppendSegmentText(std::string_view text) {
    const std::size_t from = text_.size();
    AppendUtf8(text_, text);
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
    if (extent_ == Extent::Outline && sourceLanguage_) {
        for (const ParsedVariant& variant : variants_)
            if (languages_[variant.language].same != sourceSame)
                AddTargetLanguage(languages_[variant.language].same);
        ++unitsCounted_;
        return;
    }

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
    // Without a source language from the header, a unit may yet be turned round or left out.
    if (sink_ && sourceLanguage_) return sink_(std::move(unit));
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
    if (!sink_) return;
    for (TranslationUnit& unit : tm_.units) sink_(std::move(unit));
    tm_.units = {};
}

std::size_t TmxParser::Intern(std::string_view written) {
    // The variants of most units take turns in two or three languages, written alike.
    for (std::size_t index : recentLanguages_)
        if (index < languages_.size() && languageWritten_[index] == written) return index;
    const std::string key(written);
    if (const auto found = languageByWritten_.find(key); found != languageByWritten_.end()) {
        recentLanguages_[nextRecent_++ % recentLanguages_.size()] = found->second;
        return found->second;
    }
    const std::size_t index = languages_.size();
    std::wstring tag = FromUtf8(written);
    const auto [same, inserted] = languageByFolded_.emplace(FoldedLanguageTag(tag), index);
    languages_.push_back(Language{std::move(tag), same->second});
    languageWritten_.push_back(key);
    languageByWritten_.emplace(key, index);
    recentLanguages_[nextRecent_++ % recentLanguages_.size()] = index;
    return index;
}

void TmxParser::AddTargetLanguage(std::size_t same) {
    if (same >= targetListed_.size()) targetListed_.resize(languages_.size());
    if (targetListed_[same]) return;
    targetListed_[same] = true;
    targetOrder_.push_back(same);
}

}  // namespace

namespace {

// The TMX file at `path`, opened and checked for what no parse can make of it.
SystemFile OpenTmx(const std::wstring& path, std::size_t& bytes) {
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
    bytes = static_cast<std::size_t>(std::min<std::uint64_t>(status.size, SIZE_MAX));
    return file;
}

// Reads `file` a chunk at a time into `buffer`.
NextBytes ChunksOf(SystemFile& file, std::vector<char>& buffer) {
    buffer.resize(kChunkBytes);
    return [&file, &buffer]() -> std::string_view {
        try {
            return std::string_view(buffer.data(), file.Read(buffer.data(), buffer.size()));
        } catch (const FileFailure&) {
            return {};  // the parser reports the file as cut short where the reading stopped
        }
    };
}

}  // namespace

namespace {

// Runs `parse` on a parser of `extent` over the TMX file at `path`, read a chunk at a time.
template <class Parse>
auto ParseFile(const std::wstring& path, Extent extent, const StopCheck& stop, TmxUnitSink sink,
               Parse parse) {
    std::size_t bytes = 0;
    SystemFile file = OpenTmx(path, bytes);
    libxml::Prepare();
    std::vector<char> buffer;
    TmxParser parser(path, bytes, extent, stop, std::move(sink));
    return parse(parser, ChunksOf(file, buffer));
}

}  // namespace

TranslationMemory ReadTmxFile(const std::wstring& path, const StopCheck& stop) {
    return ParseFile(path, Extent::Whole, stop, {},
                     [](TmxParser& parser, const NextBytes& next) { return parser.Parse(next); });
}

TranslationMemory ReadTmxFileUnits(const std::wstring& path, const TmxUnitSink& sink,
                                   const StopCheck& stop) {
    return ParseFile(path, Extent::Whole, stop, sink,
                     [](TmxParser& parser, const NextBytes& next) { return parser.Parse(next); });
}

TmxOutline ReadTmxOutline(const std::wstring& path, const StopCheck& stop) {
    return ParseFile(path, Extent::Outline, stop, {}, [](TmxParser& parser, const NextBytes& next) {
        return parser.ParseOutline(next);
    });
}

TmxHeader ReadTmxHeader(const std::wstring& path) {
    return ParseFile(path, Extent::Header, {}, {}, [](TmxParser& parser, const NextBytes& next) {
        return parser.ParseHeader(next);
    });
}

TranslationMemory ReadTmxBytes(std::string_view bytes, const std::wstring& name) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) {
        RaiseEngineError(L"Cannot read TM " + name + L": the file is too large");
    }
    if (bytes.empty()) RaiseEngineError(L"Cannot read TM " + name + L": the file is empty");
    libxml::Prepare();
    std::string_view rest = bytes;
    const NextBytes next = [&rest] { return std::exchange(rest, std::string_view()); };
    return TmxParser(name, bytes.size(), Extent::Whole).Parse(next);
}

}  // namespace orv::engine
