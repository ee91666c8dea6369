#include "engine/doc/XliffDocument.h"

#include <libxml/tree.h>

#include <string>
#include <unordered_map>
#include <utility>

#include "engine/doc/BlockBuilder.h"
#include "engine/doc/DeclaredEncoding.h"
#include "engine/doc/TaggingErrors.h"
#include "engine/doc/UnreadEntities.h"
#include "engine/model/EngineError.h"
#include "engine/text/Placeholders.h"
#include "engine/text/Utf8.h"
#include "engine/xml/Libxml.h"

namespace orv::engine {
namespace {

using libxml::Attribute;
using libxml::View;
using Kind = InlineCode::Kind;
using Spaces = BlockBuilder::Spaces;

constexpr std::string_view kXliffNamespace = "urn:oasis:names:tc:xliff:document:";

bool IsXliff(xmlNodePtr element) {
    return element->ns == nullptr || View(element->ns->href).starts_with(kXliffNamespace);
}

bool Is(xmlNodePtr node, std::string_view name) {
    return node->type == XML_ELEMENT_NODE && View(node->name) == name && IsXliff(node);
}

xmlNodePtr Child(xmlNodePtr parent, std::string_view name) {
    for (xmlNodePtr child = parent->children; child; child = child->next)
        if (Is(child, name)) return child;
    return nullptr;
}

std::string Utf8Of(char32_t c) {
    if (c < 0x80) return std::string(1, static_cast<char>(c));
    std::string utf8;
    if (c < 0x800) {
        utf8 += static_cast<char>(0xC0 | (c >> 6));
    } else if (c < 0x10000) {
        utf8 += static_cast<char>(0xE0 | (c >> 12));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    } else {
        utf8 += static_cast<char>(0xF0 | (c >> 18));
        utf8 += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        utf8 += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    }
    utf8 += static_cast<char>(0x80 | (c & 0x3F));
    return utf8;
}

// The unit that converters of PO files make of the PO header (the project's name, the
// translator, the charset): metadata, not text. The file's header element is never read.
bool IsHeaderUnit(xmlNodePtr unit) {
    return Attribute(unit, "restype") == "x-gettext-domain-header";
}

class XliffReader {
public:
    // `externalEntities` are those the text refers to, whose content is not read.
    XliffReader(bool version2, const std::vector<std::string>& externalEntities)
        : version2_(version2) {
        for (const std::string& name : externalEntities) entities_.External(name);
    }
    DocumentText Read(xmlNodePtr root);

private:
    void ReadContainer(xmlNodePtr parent, bool translate);
    void ReadTransUnit(xmlNodePtr unit);
    void ReadUnit(xmlNodePtr unit);
    void ReadSegments(xmlNodePtr parent);  // the mrk mtype="seg" of a 1.x seg-source
    void ReadInline(xmlNodePtr first, BlockBuilder& block);
    void ReadInline1(xmlNodePtr element, BlockBuilder& block);
    void ReadInline2(xmlNodePtr element, BlockBuilder& block);
    void AddBlock(BlockBuilder& block, bool isSegment);

    // The pair number of an XLIFF id within the unit.
    std::wstring Pair(const std::string& id);
    std::wstring NewPair() { return std::to_wstring(nextPair_++); }
    // A code's own text, or its tag when it has none.
    static std::wstring CodeText(xmlNodePtr element);
    // The original data that the attribute `reference` refers to, or `otherwise`.
    std::wstring Data(xmlNodePtr element, std::string_view reference, std::string otherwise);
    // The placeholder ("%s") that the attribute `equivalent` gives as the code's text, or
    // `otherwise`: a code without its original data still reads as what it stands for.
    static std::string PlaceholderOr(xmlNodePtr element, std::string_view equivalent,
                                     std::string otherwise);

    const bool version2_;
    DocumentText text_;
    UnreadEntities entities_;
    std::unordered_map<std::string, std::wstring> pairs_;
    std::unordered_map<std::string, std::string> originalData_;
    int nextPair_ = 1;
};

DocumentText XliffReader::Read(xmlNodePtr root) {
    ReadContainer(root, Attribute(root, "translate") != "no");
    text_.notes = entities_.notes();
    return std::move(text_);
}

void XliffReader::ReadContainer(xmlNodePtr parent, bool translate) {
    for (xmlNodePtr child = parent->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || !IsXliff(child)) continue;
        const bool translated = translate && Attribute(child, "translate") != "no";
        const std::string_view name = View(child->name);
        if (version2_) {
            if (name == "unit") {
                if (translated) ReadUnit(child);
            } else if (name == "file" || name == "group") {
                ReadContainer(child, translated);
            }
        } else {
            if (name == "trans-unit") {
                if (translated && !IsHeaderUnit(child)) ReadTransUnit(child);
            } else if (name == "file" || name == "body" || name == "group") {
                ReadContainer(child, translated);
            }
        }
    }
}

void XliffReader::ReadTransUnit(xmlNodePtr unit) {
    pairs_.clear();
    nextPair_ = 1;
    BlockBuilder source;
    if (xmlNodePtr element = Child(unit, "source")) ReadInline(element->children, source);
    text_.taggingErrors += CountCodeTaggingErrors(source.segment().codes);
    const std::size_t before = text_.blocks.size();
    if (xmlNodePtr segmented = Child(unit, "seg-source")) ReadSegments(segmented);
    if (text_.blocks.size() == before) AddBlock(source, false);
}

void XliffReader::ReadSegments(xmlNodePtr parent) {
    for (xmlNodePtr child = parent->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE) continue;
        if (Is(child, "mrk") && Attribute(child, "mtype") == "seg") {
            BlockBuilder segment;
            ReadInline(child->children, segment);
            AddBlock(segment, true);
        } else {
            ReadSegments(child);
        }
    }
}

void XliffReader::ReadUnit(xmlNodePtr unit) {
    pairs_.clear();
    originalData_.clear();
    nextPair_ = 1;
    if (xmlNodePtr data = Child(unit, "originalData")) {
        for (xmlNodePtr item = data->children; item; item = item->next) {
            if (Is(item, "data")) originalData_[Attribute(item, "id")] = libxml::TextContent(item);
        }
    }
    // A pair may begin in one segment of a unit and end in another.
    std::vector<InlineCode> codes;
    for (xmlNodePtr segment = unit->children; segment; segment = segment->next) {
        if (!Is(segment, "segment")) continue;
        xmlNodePtr source = Child(segment, "source");
        if (!source) continue;
        BlockBuilder block;
        ReadInline(source->children, block);
        codes.insert(codes.end(), block.segment().codes.begin(), block.segment().codes.end());
        AddBlock(block, true);
    }
    text_.taggingErrors += CountCodeTaggingErrors(codes);
}

void XliffReader::AddBlock(BlockBuilder& block, bool isSegment) {
    if (block.HasText()) {
        text_.blocks.push_back({block.Take(), isSegment});
        return;
    }
    // A source that is only a placeholder ("<ph>%s</ph>") is as much a message as "%s".
    const std::size_t codes = block.segment().codes.size();
    Segment written = PlaceholdersAsTextWhenAlone(block.Take());
    if (written.codes.size() < codes) text_.blocks.push_back({std::move(written), isSegment});
}

void XliffReader::ReadInline(xmlNodePtr first, BlockBuilder& block) {
    for (xmlNodePtr node = first; node; node = node->next) {
        switch (node->type) {
            case XML_TEXT_NODE:
            case XML_CDATA_SECTION_NODE:
                block.AppendUtf8(View(node->content), Spaces::Keep);
                break;
            case XML_ENTITY_REF_NODE:
                block.AppendUtf8(entities_.TextOf(node), Spaces::Keep);
                break;
            case XML_ELEMENT_NODE:
                if (!IsXliff(node)) {
                    ReadInline(node->children, block);
                } else if (version2_) {
                    ReadInline2(node, block);
                } else {
                    ReadInline1(node, block);
                }
                break;
            default:
                break;
        }
    }
}

void XliffReader::ReadInline1(xmlNodePtr element, BlockBuilder& block) {
    const std::string_view name = View(element->name);
    const auto pairOf = [&] {
        const std::string rid = Attribute(element, "rid");
        return Pair(rid.empty() ? Attribute(element, "id") : rid);
    };
    const auto tag = [&] { return FromUtf8(libxml::StartTag(element, true)); };
    if (name == "g") {
        std::wstring pair = NewPair();
        block.AppendCode({Kind::Begin, pair, FromUtf8(libxml::StartTag(element, false))});
        ReadInline(element->children, block);
        block.AppendCode({Kind::End, std::move(pair), L"</g>"});
    } else if (name == "x") {
        block.AppendCode(
            {Kind::Standalone,
             {},
             FromUtf8(PlaceholderOr(element, "equiv-text", libxml::StartTag(element, true)))});
    } else if (name == "bx") {
        block.AppendCode({Kind::Begin, pairOf(), tag()});
    } else if (name == "ex") {
        block.AppendCode({Kind::End, pairOf(), tag()});
    } else if (name == "bpt") {
        block.AppendCode({Kind::Begin, pairOf(), CodeText(element)});
    } else if (name == "ept") {
        block.AppendCode({Kind::End, pairOf(), CodeText(element)});
    } else if (name == "ph") {
        block.AppendCode({Kind::Standalone, {}, CodeText(element)});
    } else if (name == "it") {
        block.AppendCode({Kind::Isolated, {}, CodeText(element)});
    } else if (name == "mrk" && Attribute(element, "mtype") == "protected") {
        block.AppendCode({Kind::Standalone, {}, CodeText(element)});
    } else {
        ReadInline(element->children, block);  // mrk, and what a tool adds
    }
}

void XliffReader::ReadInline2(xmlNodePtr element, BlockBuilder& block) {
    const std::string_view name = View(element->name);
    const bool isolated = Attribute(element, "isolated") == "yes";
    const auto tag = [&] { return libxml::StartTag(element, true); };
    if (name == "pc") {
        std::wstring pair = NewPair();
        block.AppendCode(
            {Kind::Begin, pair, Data(element, "dataRefStart", libxml::StartTag(element, false))});
        ReadInline(element->children, block);
        block.AppendCode({Kind::End, std::move(pair), Data(element, "dataRefEnd", "</pc>")});
    } else if (name == "ph") {
        block.AppendCode({Kind::Standalone,
                          {},
                          Data(element, "dataRef", PlaceholderOr(element, "equiv", tag()))});
    } else if (name == "sc") {
        block.AppendCode({isolated ? Kind::Isolated : Kind::Begin,
                          isolated ? std::wstring() : Pair(Attribute(element, "id")),
                          Data(element, "dataRef", tag())});
    } else if (name == "ec") {
        block.AppendCode({isolated ? Kind::Isolated : Kind::End,
                          isolated ? std::wstring() : Pair(Attribute(element, "startRef")),
                          Data(element, "dataRef", tag())});
    } else if (name == "mrk" && Attribute(element, "translate") == "no") {
        block.AppendCode({Kind::Standalone, {}, CodeText(element)});
    } else if (name == "cp") {
        // A character XML cannot hold, by its number.
        const std::string hex = Attribute(element, "hex");
        unsigned long value = 0;
        bool valid = !hex.empty() && hex.size() <= 6;
        for (char c : hex) {
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            valid = valid && digit >= 0;
            value = value * 16 + static_cast<unsigned long>(digit < 0 ? 0 : digit);
        }
        if (valid && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
            block.AppendUtf8(Utf8Of(static_cast<char32_t>(value)), Spaces::Keep);
    } else if (name == "sm" || name == "em") {
        // The two ends of an annotation that crosses the codes: nothing to read.
    } else {
        ReadInline(element->children, block);  // mrk, and what a tool adds
    }
}

std::wstring XliffReader::Pair(const std::string& id) {
    const auto [found, added] = pairs_.try_emplace(id);
    if (added) found->second = NewPair();
    return found->second;
}

std::wstring XliffReader::CodeText(xmlNodePtr element) {
    std::string text = libxml::TextContent(element);
    return FromUtf8(text.empty() ? libxml::StartTag(element, true) : text);
}

std::string XliffReader::PlaceholderOr(xmlNodePtr element, std::string_view equivalent,
                                       std::string otherwise) {
    std::string text = Attribute(element, equivalent);
    return IsPlaceholder(FromUtf8(text)) ? text : otherwise;
}

std::wstring XliffReader::Data(xmlNodePtr element, std::string_view reference,
                               std::string otherwise) {
    if (libxml::HasAttribute(element, reference)) {
        const auto found = originalData_.find(Attribute(element, reference));
        if (found != originalData_.end() && !found->second.empty()) return FromUtf8(found->second);
    }
    return FromUtf8(otherwise);
}

}  // namespace

DocumentText ReadXliffBytes(std::string_view bytes, const std::string& givenEncoding) {
    const DocumentEncoding encoding =
        ChooseDocumentEncoding(bytes, XmlDeclaredEncoding(bytes), givenEncoding, true);
    const libxml::ParsedXml xml =
        libxml::ParseXml(DecodeToUtf8(bytes, encoding), false, true, libxml::Entities::Expanded);
    // Before the fault of form that a stop at a limit also is; the limit also keeps the
    // recursion of the reader shallow.
    libxml::RefuseBeyondLimits(xml);
    if (!xml.document || !xml.wellFormed)
        RaiseEngineError(L"The XLIFF file is not well-formed XML");
    xmlNodePtr root = xmlDocGetRootElement(xml.document.get());
    if (!root || View(root->name) != "xliff")
        RaiseEngineError(L"The file is not an XLIFF document (its root element is not xliff)");
    const bool version2 = root->ns
                              ? View(root->ns->href).starts_with(std::string(kXliffNamespace) + "2")
                              : Attribute(root, "version").starts_with("2");
    DocumentText text = XliffReader(version2, xml.externalEntities).Read(root);
    text.encoding = encoding;
    return text;
}

}  // namespace orv::engine
