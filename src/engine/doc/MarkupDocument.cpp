#include "engine/doc/MarkupDocument.h"

#include <optional>
#include <string>
#include <utility>

#include "engine/doc/Base64Text.h"
#include "engine/doc/BlockBuilder.h"
#include "engine/doc/DeclaredEncoding.h"
#include "engine/doc/InternalSubset.h"
#include "engine/doc/TaggingErrors.h"
#include "engine/doc/UnreadEntities.h"
#include "engine/model/EngineError.h"
#include "engine/text/PlainTextDocument.h"
#include "engine/text/Utf8.h"
#include "engine/xml/Libxml.h"

namespace orv::engine {
namespace {

using libxml::View;
using Spaces = BlockBuilder::Spaces;

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names)
        if (candidate == name) return true;
    return false;
}

bool IsAsciiSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
}

std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Walks the tree without recursion, as the lenient HTML parser builds trees of any depth.
// `entities` takes the references that the XML parser could not expand; none for a tree of
// the HTML parser, which has none.
class MarkupWalker {
public:
    MarkupWalker(const MarkupRules& rules, bool html, UnreadEntities* entities = nullptr)
        : rules_(rules), html_(html), entities_(entities) {}
    std::vector<TextBlock> Read(xmlDocPtr document);

private:
    struct Open {
        xmlNodePtr element;
        ElementRole role;
        std::wstring pairId;
        bool preservedBefore;
    };

    // Whether to go on into the element's children (it is then on open_).
    bool Enter(xmlNodePtr element);
    void Leave(const Open& open);
    void Visit(xmlNodePtr node);
    void EndBlock();
    // At an HTML line break: whether it ends the block, as the second of two in a row (with
    // nothing but whitespace between) does; the run of breaks is then dropped.
    bool EndsParagraph();
    void KeepAttributes(xmlNodePtr element);
    // Of the head, only the title is text; the rest is metadata.
    void ReadTitles(xmlNodePtr head);
    static bool HoldsBase64(xmlNodePtr element);
    Spaces spaces() const { return preserve_ ? Spaces::Keep : Spaces::Collapse; }

    const MarkupRules& rules_;
    const bool html_;
    UnreadEntities* const entities_;
    bool preserve_ = false;
    int nextPair_ = 1;
    BlockBuilder block_;
    std::vector<TextBlock> blocks_;
    std::vector<TextBlock> attributes_;  // of the block being read; they follow it
    std::vector<Open> open_;
    // The mark of the last line break, while nothing but whitespace followed it.
    std::optional<std::size_t> lineBreakAt_;
    bool afterParagraphBreak_ = false;  // the block began at a run of line breaks
};

std::vector<TextBlock> MarkupWalker::Read(xmlDocPtr document) {
    xmlNodePtr node = document->children;
    while (node) {
        if (node->type == XML_ELEMENT_NODE ? Enter(node) : (Visit(node), false)) {
            node = node->children;
            continue;
        }
        while (!node->next && !open_.empty()) {
            node = open_.back().element;
            Leave(open_.back());
            open_.pop_back();
        }
        node = node->next;
    }
    EndBlock();
    return std::move(blocks_);
}

bool MarkupWalker::Enter(xmlNodePtr element) {
    const std::string name = libxml::QualifiedName(element);
    const ElementRole role = rules_.RoleOf(name);
    if (role == ElementRole::Skip) return false;
    if (html_ && LowerAscii(name) == "head") {
        ReadTitles(element);
        return false;
    }
    if (!html_ && HoldsBase64(element)) return false;
    if (role == ElementRole::Block) EndBlock();
    if (html_) KeepAttributes(element);

    bool preserve = preserve_;
    if (html_) {
        preserve = preserve || IsOneOf(LowerAscii(name), {"pre", "textarea", "listing", "xmp"});
    } else if (const std::string space = libxml::Attribute(element, "space", "xml");
               space == "preserve" || space == "default") {
        preserve = space == "preserve";
    }

    std::wstring pairId;
    if (role == ElementRole::Inline) {
        if (!element->children) {
            const bool lineBreak = html_ && LowerAscii(name) == "br";
            if (lineBreak && EndsParagraph()) return false;
            block_.AppendCode(
                {InlineCode::Kind::Standalone, {}, FromUtf8(libxml::StartTag(element, !html_))});
            if (lineBreak) lineBreakAt_ = block_.segment().text.size() - 1;
            return false;
        }
        pairId = std::to_wstring(nextPair_++);
        block_.AppendCode(
            {InlineCode::Kind::Begin, pairId, FromUtf8(libxml::StartTag(element, false))});
    } else if (!element->children) {
        return false;
    }
    open_.push_back({element, role, std::move(pairId), preserve_});
    preserve_ = preserve;
    return true;
}

void MarkupWalker::Leave(const Open& open) {
    preserve_ = open.preservedBefore;
    if (open.role == ElementRole::Inline) {
        block_.AppendCode({InlineCode::Kind::End, open.pairId,
                           FromUtf8("</" + libxml::QualifiedName(open.element) + ">")});
    } else {
        EndBlock();
    }
}

void MarkupWalker::Visit(xmlNodePtr node) {
    switch (node->type) {
        case XML_TEXT_NODE:
        case XML_CDATA_SECTION_NODE:
            block_.AppendUtf8(View(node->content), spaces());
            break;
        case XML_ENTITY_REF_NODE:
            if (entities_) block_.AppendUtf8(entities_->TextOf(node), spaces());
            break;
        default:
            break;  // comments, processing instructions, the DTD
    }
}

bool MarkupWalker::EndsParagraph() {
    const Segment& block = block_.segment();
    if (afterParagraphBreak_ && block.codes.empty() && !block_.HasText()) return true;
    if (!lineBreakAt_ || *lineBreakAt_ >= block.text.size() ||
        block.text[*lineBreakAt_] != kCodeMark)
        return false;
    for (std::size_t i = *lineBreakAt_ + 1; i < block.text.size(); ++i)
        if (!IsAsciiSpace(block.text[i])) return false;
    block_.DropFrom(*lineBreakAt_);
    EndBlock();
    afterParagraphBreak_ = true;
    return true;
}

void MarkupWalker::EndBlock() {
    lineBreakAt_.reset();
    afterParagraphBreak_ = false;
    if (block_.HasText()) {
        blocks_.push_back({block_.Take(), false});
    } else {
        block_.Take();
    }
    for (TextBlock& attribute : attributes_) blocks_.push_back(std::move(attribute));
    attributes_.clear();
}

void MarkupWalker::ReadTitles(xmlNodePtr head) {
    for (xmlNodePtr child = head->children; child; child = child->next) {
        if (child->type != XML_ELEMENT_NODE || LowerAscii(View(child->name)) != "title" ||
            rules_.RoleOf("title") == ElementRole::Skip)
            continue;
        EndBlock();
        block_.AppendUtf8(libxml::TextContent(child), Spaces::Collapse);
        EndBlock();
    }
}

bool MarkupWalker::HoldsBase64(xmlNodePtr element) {
    std::string text;
    for (xmlNodePtr child = element->children; child; child = child->next) {
        if (child->type != XML_TEXT_NODE && child->type != XML_CDATA_SECTION_NODE) return false;
        text += View(child->content);
    }
    return IsBase64Text(text);
}

void MarkupWalker::KeepAttributes(xmlNodePtr element) {
    // Links and metadata describe the page to programs, not to its readers.
    if (!element->properties || IsOneOf(LowerAscii(View(element->name)), {"link", "meta", "base"}))
        return;
    const auto keep = [this, element](std::string_view name) {
        BlockBuilder text;
        text.AppendUtf8(libxml::Attribute(element, name), Spaces::Collapse);
        if (text.HasText()) attributes_.push_back({text.Take(), false});
    };
    keep("alt");
    keep("title");
    keep("placeholder");
    if (View(element->name) == "input" &&
        IsOneOf(LowerAscii(libxml::Attribute(element, "type")), {"button", "submit", "reset"}))
        keep("value");
}

// The lenient parsers would make text of anything; a file that is no text at all (an image, an
// archive under a wrong name) is refused, as a plain-text file is.
void RefuseBinary(std::string_view markup) {
    if (markup.find('\0') != std::string_view::npos)
        RaiseEngineError(L"The file is not a markup file (it holds binary data)");
}

}  // namespace

std::optional<std::string> Utf16MarkupAsUtf8(std::string_view bytes) {
    const auto utf8 = [](std::string withBom) { return ToUtf8(DecodePlainText(withBom)); };
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF"))
        return utf8(std::string(bytes));
    if (bytes.size() >= 2 && bytes[0] == '<' && bytes[1] == '\0')
        return utf8("\xFF\xFE" + std::string(bytes));
    if (bytes.size() >= 2 && bytes[0] == '\0' && bytes[1] == '<')
        return utf8("\xFE\xFF" + std::string(bytes));
    return std::nullopt;
}

DocumentText ReadHtmlBytes(std::string_view bytes, const MarkupRules& rules,
                           const std::string& givenEncoding) {
    DocumentText text;
    // libxml2 is handed UTF-8 only: its own guess for HTML without a charset is ISO-8859-1.
    text.encoding = ChooseDocumentEncoding(bytes, HtmlDeclaredEncoding(bytes), givenEncoding, true);
    const std::string markup = DecodeToUtf8(bytes, text.encoding);
    RefuseBinary(markup);
    // Its declarations are no text, and the HTML parser knows none of the entities that an
    // XHTML page may declare there.
    UnreadEntities entities;
    std::string expanded;
    std::string_view input = markup;
    if (const std::optional<InternalSubset> subset = InternalSubset::Find(markup))
        input = expanded = subset->ExpandEntities(markup, entities);
    RefuseMarkupHiddenByUnclosed(markup, MarkupDialect::Html);
    if (const libxml::Document document = libxml::ParseHtml(input, true))
        text.blocks = MarkupWalker(rules, true).Read(document.get());
    text.taggingErrors = CountMarkupTaggingErrors(markup, rules, MarkupDialect::Html);
    text.notes = entities.notes();
    return text;
}

DocumentText ReadXmlBytes(std::string_view bytes, const MarkupRules& rules,
                          const std::string& givenEncoding) {
    DocumentText text;
    // Decoded here rather than by libxml2, so that a file without a declaration is not taken
    // for UTF-8 when it is not, and the log can say which encoding was read.
    text.encoding = ChooseDocumentEncoding(bytes, XmlDeclaredEncoding(bytes), givenEncoding, true);
    const std::string markup = DecodeToUtf8(bytes, text.encoding);
    libxml::ParsedXml xml = libxml::ParseXml(markup, true, true, libxml::Entities::Expanded);
    // Not even a damaged file may go on to the lenient parser from here: that would count the
    // text of a bomb's declarations, or what lies beyond the depth where the XML parser stopped
    // without the entities it declares.
    libxml::RefuseBeyondLimits(xml);
    libxml::Document document = std::move(xml.document);
    bool lenientTree = false;
    UnreadEntities lenientEntities;
    if (!xml.wellFormed) {
        // Well-formed XML holds neither binary data nor a tagging error; only a damaged file
        // is looked at.
        RefuseBinary(markup);
        const std::optional<InternalSubset> subset = InternalSubset::Find(markup);
        RefuseMarkupHiddenByUnclosed(markup, MarkupDialect::Xml);
        const std::string expanded =
            subset.value_or(InternalSubset::None()).ExpandEntities(markup, lenientEntities);
        libxml::Document lenient = libxml::ParseHtml(expanded, true);
        // A recovery that kept no text at all never wins: markup characters that the file
        // writes as references weigh against the lenient tree too.
        const int64_t recovered = document ? libxml::TextWeight(document.get()) : 0;
        if (lenient && (recovered <= 0 || libxml::TextWeight(lenient.get()) > recovered)) {
            document = std::move(lenient);
            lenientTree = true;
        }
        text.taggingErrors = CountMarkupTaggingErrors(markup, rules, MarkupDialect::Xml);
    }
    UnreadEntities xmlEntities;
    for (const std::string& name : xml.externalEntities) xmlEntities.External(name);
    UnreadEntities& entities = lenientTree ? lenientEntities : xmlEntities;
    // A tree from the HTML parser is still read by XML's rules: no attribute is text.
    if (document) text.blocks = MarkupWalker(rules, false, &entities).Read(document.get());
    text.notes = entities.notes();
    return text;
}

}  // namespace orv::engine
