#include "engine/doc/Libxml.h"

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <climits>
#include <mutex>

#include "engine/model/EngineError.h"

namespace orv::engine::libxml {
namespace {

void Initialise() {
    static std::once_flag once;
    std::call_once(once, [] { xmlInitParser(); });
}

// Some faults (of the encoding conversion, for one) go to the thread's own handlers and from
// there to stderr, whatever the options say; while a file is parsed they go nowhere.
class Quiet {
public:
    Quiet()
        : structured_(xmlStructuredError),
          structuredContext_(xmlStructuredErrorContext),
          generic_(xmlGenericError),
          genericContext_(xmlGenericErrorContext) {
        xmlSetStructuredErrorFunc(nullptr, &IgnoreStructured);
        xmlSetGenericErrorFunc(nullptr, &IgnoreGeneric);
    }
    ~Quiet() {
        xmlSetStructuredErrorFunc(structuredContext_, structured_);
        xmlSetGenericErrorFunc(genericContext_, generic_);
    }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    static void IgnoreStructured(void*, xmlErrorPtr) {}
    static void IgnoreGeneric(void*, const char*, ...) {}

    xmlStructuredErrorFunc structured_;
    void* structuredContext_;
    xmlGenericErrorFunc generic_;
    void* genericContext_;
};

int Size(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        RaiseEngineError(L"The file is too large to be read");
    return static_cast<int>(bytes.size());
}

struct FreeContext {
    void operator()(xmlParserCtxtPtr context) const noexcept { xmlFreeParserCtxt(context); }
};

// Calls `visit` on `first`, its siblings after it and everything they hold, in document
// order, without recursion: the lenient HTML parser builds trees of any depth.
template <class Visit>
void ForEachNode(xmlNodePtr first, Visit visit) {
    if (!first) return;
    const xmlNodePtr top = first->parent;
    xmlNodePtr node = first;
    while (node) {
        visit(node);
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            continue;
        }
        while (!node->next) {
            node = node->parent;
            if (node == top || node == nullptr) return;
        }
        node = node->next;
    }
}

void AppendText(std::string& out, xmlNodePtr first) {
    ForEachNode(first, [&out](xmlNodePtr node) {
        if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
            out += View(node->content);
        } else if (node->type == XML_ENTITY_REF_NODE) {
            out += '&';
            out += View(node->name);
            out += ';';
        }
    });
}

}  // namespace

ParsedXml ParseXml(std::string_view bytes, bool recover, bool utf8) {
    Initialise();
    const int size = Size(bytes);
    const Quiet quiet;
    std::unique_ptr<xmlParserCtxt, FreeContext> context(xmlNewParserCtxt());
    if (!context) throw std::bad_alloc();
    // No XML_PARSE_NOENT, XML_PARSE_DTDLOAD or XML_PARSE_HUGE: entities stay references,
    // nothing outside the file is read, and libxml2's limits on depth and size hold.
    int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    if (recover) options |= XML_PARSE_RECOVER;
    ParsedXml parsed;
    parsed.document.reset(xmlCtxtReadMemory(context.get(), bytes.data(), size, nullptr,
                                            utf8 ? "UTF-8" : nullptr, options));
    parsed.wellFormed = parsed.document && context->wellFormed;
    return parsed;
}

Document ParseHtml(std::string_view bytes, bool utf8) {
    Initialise();
    const int size = Size(bytes);
    const Quiet quiet;
    int options = HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_RECOVER;
    if (utf8) options |= HTML_PARSE_IGNORE_ENC;
    return Document(htmlReadMemory(bytes.data(), size, nullptr, utf8 ? "UTF-8" : nullptr, options));
}

std::string Attribute(xmlNodePtr element, std::string_view name, std::string_view prefix) {
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        const std::string_view written =
            attribute->ns ? View(attribute->ns->prefix) : std::string_view();
        if (View(attribute->name) != name || written != prefix) continue;
        std::string value;
        AppendText(value, attribute->children);
        return value;
    }
    return {};
}

bool HasAttribute(xmlNodePtr element, std::string_view name) {
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        if (View(attribute->name) == name) return true;
    }
    return false;
}

std::string QualifiedName(xmlNodePtr element) {
    std::string name;
    if (element->ns && element->ns->prefix) {
        name = View(element->ns->prefix);
        name += ':';
    }
    name += View(element->name);
    return name;
}

std::string StartTag(xmlNodePtr element, bool empty) {
    std::string tag = "<" + QualifiedName(element);
    for (xmlAttrPtr attribute = element->properties; attribute; attribute = attribute->next) {
        tag += ' ';
        if (attribute->ns && attribute->ns->prefix) {
            tag += View(attribute->ns->prefix);
            tag += ':';
        }
        tag += View(attribute->name);
        tag += "=\"";
        AppendText(tag, attribute->children);
        tag += '"';
    }
    tag += empty ? "/>" : ">";
    return tag;
}

std::string TextContent(xmlNodePtr node) {
    std::string text;
    if (node->type == XML_ELEMENT_NODE) {
        AppendText(text, node->children);
    } else if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
        text = View(node->content);
    }
    return text;
}

int64_t TextWeight(xmlDocPtr document) {
    // A tag that a parser took for text shows as '<' or '>' in a text node; it weighs more
    // than any text that came with it.
    constexpr int64_t kLeakedMarkup = 16;
    int64_t weight = 0;
    if (!document) return weight;
    ForEachNode(document->children, [&weight](xmlNodePtr node) {
        if (node->type != XML_TEXT_NODE && node->type != XML_CDATA_SECTION_NODE) return;
        for (char c : View(node->content)) {
            if ((c == '<' || c == '>') && node->type == XML_TEXT_NODE) {
                weight -= kLeakedMarkup;
            } else if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
                ++weight;
            }
        }
    });
    return weight;
}

}  // namespace orv::engine::libxml
