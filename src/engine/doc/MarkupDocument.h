#pragma once
// HTML, XML and SGML documents: the text of their elements, by the roles that MarkupRules
// gives the elements (blocks, inline codes, skipped).
//
// Text is read as a browser shows it: each run of whitespace is one space, except inside
// pre, textarea, listing and xmp (HTML) or under xml:space="preserve" (XML). Character and
// predefined entities are decoded and internal entities expanded, in XML, SGML and XHTML; an
// entity that the file does not declare, or an external one, is counted as UnreadEntities says
// and noted. Comments, processing instructions and the document type declaration are skipped,
// as are the head of HTML but for its title, and XML elements that hold only base64 data
// (Base64Text.h). An inline element with content becomes a Begin and an End code around it,
// an empty one (br, img, an empty XML element) one standalone code; each code's content is its
// tag.

#include <optional>
#include <string>
#include <string_view>

#include "engine/doc/DocumentSettings.h"
#include "engine/doc/DocumentText.h"

namespace orv::engine {

// Both throw an engine error for a file that holds binary data (NUL bytes, not UTF-16).

// HTML, however damaged, in the encoding that DocumentEncoding.h chooses: a byte order mark,
// the XML declaration or a meta charset, valid UTF-8, `givenEncoding` (empty: none), the
// detector. The alt, title and placeholder attributes, and the value of buttons, are
// blocks of their own, after the block of their element.
DocumentText ReadHtmlBytes(std::string_view bytes, const MarkupRules& rules,
                           const std::string& givenEncoding = "");

// XML, or SGML: a file that is not well-formed XML (omitted end tags, unquoted attributes)
// is read by whichever of the XML parser's recovery and the lenient HTML parser keeps more of
// its text and takes fewer of its tags for text; a recovery without text never wins. Tagging
// errors are counted from the tags as written. The encoding is chosen as for HTML, with the
// XML declaration as the document's own.
DocumentText ReadXmlBytes(std::string_view bytes, const MarkupRules& rules,
                          const std::string& givenEncoding = "");

// UTF-16 markup (with a byte order mark, or starting with "<") as UTF-8, which libxml2 then
// reads whatever the markup declares; none for other bytes, which libxml2 reads as they say.
std::optional<std::string> Utf16MarkupAsUtf8(std::string_view bytes);

}  // namespace orv::engine
