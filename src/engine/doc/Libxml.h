#pragma once
// What the markup readers share of libxml2: documents parsed from memory with nothing read
// from outside them (no network, no DTD, no external entity, entities left unexpanded) and
// nothing printed to stderr, owned by a handle, and small accessors of the tree.

#include <libxml/tree.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace orv::engine::libxml {

struct FreeDocument {
    void operator()(xmlDocPtr document) const noexcept { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, FreeDocument>;

struct ParsedXml {
    Document document;  // none when the parser gave up
    bool wellFormed = false;
};

// `recover` keeps what a parser that meets a fault can still make of the rest. `utf8` says the
// bytes are UTF-8 whatever encoding they declare.
ParsedXml ParseXml(std::string_view bytes, bool recover, bool utf8 = false);

// The lenient HTML parser: it mends whatever it meets. None for an empty file.
Document ParseHtml(std::string_view bytes, bool utf8 = false);

inline std::string_view View(const xmlChar* text) {
    return text ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

// The value of the attribute `name` of `element`, with `prefix` ("" for none); an attribute
// that is not there gives the empty text.
std::string Attribute(xmlNodePtr element, std::string_view name, std::string_view prefix = "");
bool HasAttribute(xmlNodePtr element, std::string_view name);

// "prefix:name" or "name", as written.
std::string QualifiedName(xmlNodePtr element);

// The start tag as it could have been written: "<a href=\"x\">", or "<x id=\"1\"/>".
std::string StartTag(xmlNodePtr element, bool empty);

// The text of the node and all it holds, entity references written as "&name;".
std::string TextContent(xmlNodePtr node);

// How well a reading of a damaged file kept its text: the characters of the tree's text other
// than whitespace, less a penalty for each markup character ('<', '>') in text, which shows a
// tag taken for text.
int64_t TextWeight(xmlDocPtr document);

}  // namespace orv::engine::libxml
