#pragma once
// What the markup readers share of libxml2: documents parsed from memory with nothing read
// from outside them (no network, no external DTD, no external entity) and nothing printed to
// stderr, owned by a handle, and small accessors of the tree.

#include <libxml/tree.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv::engine::libxml {

struct FreeDocument {
    void operator()(xmlDocPtr document) const noexcept { xmlFreeDoc(document); }
};
using Document = std::unique_ptr<xmlDoc, FreeDocument>;

// How deep the elements of an XML document may nest, entities expanded. libxml2 copies the
// content of an entity by recursion, and up to twenty entities may nest, so a limit of a
// thousand keeps every tree libxml2 builds or copies well within a thread's stack.
inline constexpr int kDeepestXmlNesting = 1000;

struct ParsedXml {
    Document document;  // none when the parser gave up
    bool wellFormed = false;
    // The parser stopped where the elements nest deeper than kDeepestXmlNesting.
    bool tooDeep = false;
    // The parser stopped at an entity that expands beyond libxml2's limits (an entity bomb).
    bool entityBomb = false;
    // The external entities the text refers to, each once, in the order met: their content
    // is never read and counts as empty.
    std::vector<std::string> externalEntities;
};

enum class Entities {
    // Each reference stays an entity reference node, for a file that is written back.
    Kept,
    // The text of internal entities takes the place of their references, within libxml2's
    // limits on amplification; a reference to an entity that the file does not declare (it
    // may be in an external DTD) stays an entity reference without content.
    Expanded,
};

// Sets libxml2 up for the whole process, once, before any parse of the engine's: its parser
// initialised, its depth limit, and an entity loader that reads nothing outside a document.
// Every function here calls it; a reader that drives libxml2 itself calls it first.
void Prepare();

// `recover` keeps what a parser that meets a fault can still make of the rest. `utf8` says the
// bytes are UTF-8 whatever encoding they declare (the declaration is then ignored).
ParsedXml ParseXml(std::string_view bytes, bool recover, bool utf8 = false,
                   Entities entities = Entities::Kept);

// The lenient HTML parser: it mends whatever it meets, at any depth. None for an empty file.
Document ParseHtml(std::string_view bytes, bool utf8 = false);

// Throws an engine error when the parse stopped at an entity bomb or where the elements nest
// too deep, or when expanded entities made the tree deeper than kDeepestXmlNesting: such a
// file is refused rather than read in part.
void RefuseBeyondLimits(const ParsedXml& parsed);

// The character, in UTF-8, that the HTML entity `name` stands for ("nbsp", "eacute"); none
// for a name that HTML does not know.
std::optional<std::string> HtmlEntityText(std::string_view name);

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

// The text of the node and all it holds: a reference to a declared entity written as "&name;",
// one to an undeclared entity as the HTML character of its name, or as nothing.
std::string TextContent(xmlNodePtr node);

// How well a reading of a damaged file kept its text: the characters of the tree's text other
// than whitespace, less a penalty for each markup character ('<', '>') in text, which shows a
// tag taken for text.
int64_t TextWeight(xmlDocPtr document);

}  // namespace orv::engine::libxml
