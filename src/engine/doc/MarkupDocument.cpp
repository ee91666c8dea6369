#include "engine/doc/MarkupDocument.h"

#include <optional>
#include <string>
#include <utility>

#include "engine/doc/BlockBuilder.h"
#include "engine/doc/DeclaredEncoding.h"
#include "engine/doc/Libxml.h"
#include "engine/doc/TaggingErrors.h"
#include "engine/doc/UnreadEntities.h"
#include "engine/model/EngineError.h"
#include "engine/text/PlainTextDocument.h"
#include "engine/tm/Utf8.h"

namespace orv::engine {
namespace {

using libxml::View;
using Spaces = BlockBuilder::Spaces;

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    for (std::string_view candidate : names)
        if (candidate == name) return true;
    return false;
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
    void KeepAttributes(xmlNodePtr element);
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
            block_.AppendCode(
                {InlineCode::Kind::Standalone, {}, FromUtf8(libxml::StartTag(element, !html_))});
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

void MarkupWalker::EndBlock() {
    if (block_.HasText()) {
        blocks_.push_back({block_.Take(), false});
    } else {
        block_.Take();
    }
    for (TextBlock& attribute : attributes_) blocks_.push_back(std::move(attribute));
    attributes_.clear();
}

void MarkupWalker::KeepAttributes(xmlNodePtr element) {
    if (!element->properties) return;
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

// The markup without its document type declaration when that holds an internal subset: the
// lenient HTML parser would take the declarations for text.
std::string_view WithoutInternalSubset(std::string_view markup, std::string& storage) {
    std::size_t at = 0;
    while ((at = markup.find('<', at)) != std::string_view::npos) {
        if (markup.compare(at, 2, "<?") == 0) {
            at = markup.find("?>", at);
        } else if (markup.compare(at, 4, "<!--") == 0) {
            at = markup.find("-->", at);
        } else {
            break;
        }
        if (at == std::string_view::npos) return markup;
    }
    constexpr std::string_view kDoctype = "<!doctype";
    if (at == std::string_view::npos || markup.size() - at < kDoctype.size() ||
        LowerAscii(markup.substr(at, kDoctype.size())) != kDoctype)
        return markup;
    const std::size_t end = DeclarationEnd(markup, at);
    const std::string_view declaration =
        markup.substr(at, end == std::string_view::npos ? end : end - at);
    if (declaration.find('[') == std::string_view::npos) return markup;
    storage.assign(markup.substr(0, at));
    if (end != std::string_view::npos) storage.append(markup.substr(end));
    return storage;
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
    std::string storage;
    if (const libxml::Document document =
            libxml::ParseHtml(WithoutInternalSubset(markup, storage), true))
        text.blocks = MarkupWalker(rules, true).Read(document.get());
    text.taggingErrors = CountMarkupTaggingErrors(markup, rules, MarkupDialect::Html);
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
    if (!xml.wellFormed) {
        // Well-formed XML holds neither binary data nor a tagging error; only a damaged file
        // is looked at.
        RefuseBinary(markup);
        std::string storage;
        libxml::Document lenient = libxml::ParseHtml(WithoutInternalSubset(markup, storage), true);
        if (lenient &&
            (!document || libxml::TextWeight(lenient.get()) > libxml::TextWeight(document.get()))) {
            document = std::move(lenient);
            lenientTree = true;
        }
        text.taggingErrors = CountMarkupTaggingErrors(markup, rules, MarkupDialect::Xml);
    }
    UnreadEntities entities;
    if (!lenientTree) {
        for (const std::string& name : xml.externalEntities) entities.External(name);
    }
    // A tree from the HTML parser is still read by XML's rules: no attribute is text.
    if (document) text.blocks = MarkupWalker(rules, false, &entities).Read(document.get());
    text.notes = entities.notes();
    return text;
}

}  // namespace orv::engine
