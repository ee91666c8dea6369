#pragma once
// The encoding a markup document names for itself, read from its bytes as ASCII before any
// decoding: the XML declaration, and for HTML also a meta element's charset.

#include <optional>
#include <string>
#include <string_view>

namespace orv::engine {

// The encoding="..." of an XML declaration at the very start of `bytes`.
std::optional<std::string> XmlDeclaredEncoding(std::string_view bytes);

// The XML declaration's encoding, else the charset of the first meta element that has one
// (<meta charset="...">, or its http-equiv Content-Type content "...; charset=..."), looked
// for in the head, before any body.
std::optional<std::string> HtmlDeclaredEncoding(std::string_view bytes);

}  // namespace orv::engine
