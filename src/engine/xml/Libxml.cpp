#include "engine/xml/Libxml.h"

#include <libxml/HTMLparser.h>
#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlerror.h>
#include <libxml/xmlversion.h>

#include <algorithm>
#include <climits>
#include <mutex>

#include "engine/model/EngineError.h"
#include "engine/xml/ThreadErrorsRedirected.h"

namespace orv::engine::libxml {
namespace {

// What libxml2 says, through its callbacks, of the file that this thread is parsing.
struct ParseState {
    bool tooDeep = false;
    bool entityBomb = false;
    std::vector<std::string> externalEntities;
};

thread_local ParseState* current = nullptr;
xmlExternalEntityLoader otherLoader = nullptr;

// Nothing outside a document is read, whatever it names (an external DTD, a file:// or a
// relative entity, which XML_PARSE_NONET lets through): it reads as empty. Not refused: a
// parameter entity that cannot be read would make every entity it might declare a fault of
// the file. Parsers of other files (not on `current`) load as they did before.
xmlParserInputPtr LoadNothing(const char* url, const char* id, xmlParserCtxtPtr context) {
    if (!current) return otherLoader ? otherLoader(url, id, context) : nullptr;
    return xmlNewStringInputStream(context, BAD_CAST "");
}

}  // namespace

void Prepare() {
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        otherLoader = xmlGetExternalEntityLoader();
        xmlSetExternalEntityLoader(&LoadNothing);
#if LIBXML_VERSION < 21100
        // libxml2 before 2.11 knows no deeper limit than 256 without XML_PARSE_HUGE, and that
        // option would also lift its limits on entity amplification.
        xmlParserMaxDepth = kDeepestXmlNesting;
#endif
    });
}

namespace {

void Note(void*, xmlErrorPtr error) {
    if (!current || !error) return;
    if (error->code == XML_ERR_ENTITY_LOOP) current->entityBomb = true;
    if (error->code == XML_ERR_INTERNAL_ERROR && error->message &&
        std::string_view(error->message).find("depth") != std::string_view::npos)
        current->tooDeep = true;
}

// While a file is parsed, the thread's libxml2 faults go to `state` alone, which also takes what
// the file's callbacks see.
class Quiet {
public:
    explicit Quiet(ParseState& state) : redirected_(nullptr, &Note), outer_(current) {
        current = &state;
    }
    ~Quiet() { current = outer_; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    ThreadErrorsRedirected redirected_;
    ParseState* outer_;
};

// The entity that a reference names, as libxml2 finds it; an external one is remembered for
// the reader to say that its content was not read.
xmlEntityPtr GetEntityNoting(void* context, const xmlChar* name) {
    xmlEntityPtr entity = xmlSAX2GetEntity(context, name);
    if (current && entity && entity->etype == XML_EXTERNAL_GENERAL_PARSED_ENTITY) {
        std::vector<std::string>& names = current->externalEntities;
        const std::string written(View(name));
        if (std::find(names.begin(), names.end(), written) == names.end()) names.push_back(written);
    }
    return entity;
}

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
        } else if (node->type == XML_ENTITY_REF_NODE && node->children) {
            out += '&';
            out += View(node->name);
            out += ';';
        } else if (node->type == XML_ENTITY_REF_NODE) {
            out += HtmlEntityText(View(node->name)).value_or("");
        }
    });
}

// Whether an element among `node`, its siblings after it and all they hold is more than `levels`
// elements deep, `node` being one deep. Without recursion, as the tree may be of any depth.
bool NestsDeeperThan(xmlNodePtr node, int levels) {
    if (!node) return false;
    const xmlNodePtr top = node->parent;
    int depth = 1;
    while (node) {
        if (node->type == XML_ELEMENT_NODE && depth > levels) return true;
        if (node->type == XML_ELEMENT_NODE && node->children) {
            node = node->children;
            ++depth;
            continue;
        }
        while (!node->next) {
            node = node->parent;
            --depth;
            if (node == top || node == nullptr) return false;
        }
        node = node->next;
    }
    return false;
}

}  // namespace

ParsedXml ParseXml(std::string_view bytes, bool recover, bool utf8, Entities entities) {
    Prepare();
    const int size = Size(bytes);
    ParseState state;
    const Quiet quiet(state);
    std::unique_ptr<xmlParserCtxt, FreeContext> context(xmlNewParserCtxt());
    if (!context) throw std::bad_alloc();
    context->sax->getEntity = &GetEntityNoting;
    // No XML_PARSE_DTDLOAD or XML_PARSE_HUGE: no external DTD is asked for, and libxml2's
    // limits on size and amplification hold.
    int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;
    if (entities == Entities::Expanded) options |= XML_PARSE_NOENT;
    if (recover) options |= XML_PARSE_RECOVER;
    // Decoded bytes still carry the declaration of the encoding they were in.
    if (utf8) options |= XML_PARSE_IGNORE_ENC;
    ParsedXml parsed;
    parsed.document.reset(xmlCtxtReadMemory(context.get(), bytes.data(), size, nullptr,
                                            utf8 ? "UTF-8" : nullptr, options));
    parsed.wellFormed = parsed.document && context->wellFormed && !state.tooDeep;
    parsed.tooDeep = state.tooDeep;
    parsed.entityBomb = state.entityBomb;
    parsed.externalEntities = std::move(state.externalEntities);
    return parsed;
}

Document ParseHtml(std::string_view bytes, bool utf8) {
    Prepare();
    const int size = Size(bytes);
    ParseState state;
    const Quiet quiet(state);
    // XML_PARSE_HUGE lifts the depth limit of 256, beyond which the parser drops the rest of
    // the file in silence; the HTML parser expands no declared entities that it could guard.
    int options = HTML_PARSE_NONET | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING |
                  HTML_PARSE_RECOVER | XML_PARSE_HUGE;
    if (utf8) options |= HTML_PARSE_IGNORE_ENC;
    return Document(htmlReadMemory(bytes.data(), size, nullptr, utf8 ? "UTF-8" : nullptr, options));
}

void RefuseBeyondLimits(const ParsedXml& parsed) {
    if (parsed.entityBomb)
        RaiseEngineError(
            L"The document is refused for its entity expansion, which goes beyond the limits of "
            L"a safe reading");
    if (parsed.tooDeep ||
        (parsed.document && NestsDeeperThan(parsed.document->children, kDeepestXmlNesting)))
        RaiseEngineError(L"The document's elements are nested more than a thousand levels deep");
}

std::optional<std::string> HtmlEntityText(std::string_view name) {
    const htmlEntityDesc* entity = htmlEntityLookup(BAD_CAST std::string(name).c_str());
    if (!entity) return std::nullopt;
    xmlChar utf8[8] = {};
    const int length = xmlCopyCharMultiByte(utf8, static_cast<int>(entity->value));
    return std::string(reinterpret_cast<const char*>(utf8), static_cast<std::size_t>(length));
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
