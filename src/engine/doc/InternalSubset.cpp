#include "engine/doc/InternalSubset.h"

#include <algorithm>

#include "engine/doc/EntityDeclarations.h"
#include "engine/doc/TaggingErrors.h"
#include "engine/model/EngineError.h"
#include "engine/xml/Libxml.h"

namespace orv::engine {
namespace {

using libxml::View;

// What the references to entities of partial markup may copy, whatever the file's size.
constexpr std::size_t kPartialMarkupAllowance = 1 << 20;

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return upper;
}

bool StartsWithAt(std::string_view text, std::size_t at, std::string_view prefix) {
    return text.compare(at, prefix.size(), prefix) == 0;
}

bool IsOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The XML parser is handed the file's bytes each as the character of that number, so that it
// reads a file in any encoding and gives back each byte as it was. The control characters that
// XML cannot hold, and the carriage return that it would drop, stand in the private use area.
constexpr char32_t kControlStandIn = 0xE000;

bool NeedsStandIn(unsigned char byte) {
    return byte < 0x20 && byte != '\t' && byte != '\n';
}

std::string BytesAsXml(std::string_view bytes) {
    std::string xml;
    xml.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char32_t code = NeedsStandIn(byte) ? kControlStandIn + byte : byte;
        if (code < 0x80) {
            xml += static_cast<char>(code);
        } else if (code < 0x800) {
            xml += static_cast<char>(0xC0 | (code >> 6));
            xml += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            xml += static_cast<char>(0xE0 | (code >> 12));
            xml += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            xml += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return xml;
}

// The bytes back from what the XML parser gives; a character that no byte stood for (one an
// entity declares by its number) as a character reference, which the HTML parser reads.
// `escape` writes markup characters as references, for text that was text to the XML parser.
void AppendAsBytes(std::string& out, std::string_view utf8, bool escape) {
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        char32_t code = length == 1 ? lead : lead & (0xFF >> (length + 1));
        for (int k = 1; k < length && i + k < utf8.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
        i += length;
        if (escape && (code == '&' || code == '<' || code == '>' || code == '"')) {
            out += code == '&' ? "&amp;" : code == '<' ? "&lt;" : code == '>' ? "&gt;" : "&quot;";
        } else if (code < 0x100) {
            out += static_cast<char>(code);
        } else if (code >= kControlStandIn && code < kControlStandIn + 0x20) {
            out += static_cast<char>(code - kControlStandIn);
        } else {
            out += "&#" + std::to_string(static_cast<uint32_t>(code)) + ';';
        }
    }
}

// The markup of the nodes, as the HTML parser is to read it: the file's own markup (the
// CDATA sections) as it was written, the entities' text and elements as markup.
void AppendMarkup(std::string& out, xmlNodePtr node) {
    for (; node; node = node->next) {
        switch (node->type) {
            case XML_CDATA_SECTION_NODE:
                AppendAsBytes(out, View(node->content), false);
                break;
            case XML_TEXT_NODE:
                AppendAsBytes(out, View(node->content), true);
                break;
            case XML_ENTITY_REF_NODE:
                // Not declared: the HTML parser reads it if HTML knows its name.
                out += '&';
                AppendAsBytes(out, View(node->name), false);
                out += ';';
                break;
            case XML_ELEMENT_NODE:
                out += '<';
                AppendAsBytes(out, libxml::QualifiedName(node), false);
                for (xmlAttrPtr attribute = node->properties; attribute;
                     attribute = attribute->next) {
                    out += ' ';
                    AppendAsBytes(out, View(attribute->name), false);
                    out += "=\"";
                    AppendAsBytes(out, libxml::Attribute(node, View(attribute->name)), true);
                    out += '"';
                }
                out += '>';
                AppendMarkup(out, node->children);
                out += "</";
                AppendAsBytes(out, libxml::QualifiedName(node), false);
                out += '>';
                break;
            default:
                break;  // comments and processing instructions of the entities
        }
    }
}

// `text` as CDATA sections, which keep it whole and apart from the text of the entities. The
// XML parser joins adjacent sections into one node and, without XML_PARSE_HUGE, drops what
// goes beyond ten megabytes of it: a processing instruction, which is no text, stands between
// sections of at most a megabyte.
void AppendCdata(std::string& out, std::string_view text) {
    constexpr std::size_t kLongestSection = 1 << 20;
    while (!text.empty()) {
        std::string_view section = text.substr(0, kLongestSection);
        if (const std::size_t end = section.find("]]>"); end != std::string_view::npos)
            section = section.substr(0, end + 2);
        out += "<![CDATA[";
        out.append(section);
        out += "]]><?s?>";
        text.remove_prefix(section.size());
    }
}

}  // namespace

std::optional<InternalSubset> InternalSubset::Find(std::string_view markup) {
    std::size_t at = 0;
    while ((at = markup.find('<', at)) != std::string_view::npos) {
        if (StartsWithAt(markup, at, "<?")) {
            at = markup.find("?>", at);
        } else if (StartsWithAt(markup, at, "<!--")) {
            at = markup.find("-->", at);
        } else {
            break;
        }
        if (at == std::string_view::npos) return std::nullopt;
    }
    constexpr std::string_view kDoctype = "<!DOCTYPE";
    if (at == std::string_view::npos || markup.size() - at < kDoctype.size() ||
        UpperAscii(markup.substr(at, kDoctype.size())) != kDoctype)
        return std::nullopt;
    std::size_t open = at + kDoctype.size();
    for (; open < markup.size() && markup[open] != '[' && markup[open] != '>'; ++open) {
        if (markup[open] == '"' || markup[open] == '\'') {
            open = markup.find(markup[open], open + 1);
            if (open == std::string_view::npos) return std::nullopt;
        }
    }
    if (open >= markup.size() || markup[open] != '[') return std::nullopt;
    const std::size_t end = DeclarationEnd(markup, at);
    if (end == std::string_view::npos)
        RaiseEngineError(
            L"The document type declaration is never closed: its internal subset runs to the end "
            L"of the file");
    const std::size_t close = markup.rfind(']', end - 1);
    return InternalSubset(at, end, markup.substr(open + 1, close - open - 1));
}

std::string InternalSubset::MarkupWithout(std::string_view markup) const {
    std::string rest(markup.substr(0, begin_));
    rest.append(markup.substr(end_));
    return rest;
}

std::string InternalSubset::ExpandEntities(std::string_view markup, UnreadEntities& unread) const {
    const EntityDeclarations declarations(subset_);
    // Without declared entities the markup goes to the HTML parser as it is, but for the
    // references to entities that it would take for text.
    const bool viaXml = !declarations.empty();

    // For the XML parser: the text between the references as CDATA, each reference to a
    // declared entity as a reference, in a document of its own that declares them.
    std::string out = viaXml ? "<!DOCTYPE d [" + declarations.xml() + "]><d>" : std::string();
    const auto appendText = [&out, viaXml](std::string_view text) {
        if (viaXml) {
            AppendCdata(out, text);
        } else {
            out.append(text);
        }
    };
    const std::string_view body = markup.substr(end_);
    if (!viaXml) out.assign(markup.substr(0, begin_));
    std::size_t from = 0;
    std::size_t copied = 0;
    for (std::size_t at = body.find_first_of("&<"); at != std::string_view::npos;
         at = body.find_first_of("&<", at + 1)) {
        if (body[at] == '<') {
            // What comments and CDATA sections hold is no reference.
            const bool comment = StartsWithAt(body, at, "<!--");
            if (!comment && !StartsWithAt(body, at, "<![CDATA[")) continue;
            const std::size_t end = body.find(comment ? "-->" : "]]>", at);
            if (end == std::string_view::npos) break;
            at = end + 2;
            continue;
        }
        std::size_t nameEnd = at + 1;
        if (nameEnd >= body.size() || !EntityDeclarations::IsNameStart(body[nameEnd])) continue;
        while (nameEnd < body.size() && EntityDeclarations::IsNameChar(body[nameEnd])) ++nameEnd;
        const std::string_view name = body.substr(at + 1, nameEnd - at - 1);
        const bool semicolon = nameEnd < body.size() && body[nameEnd] == ';';
        const std::size_t after = semicolon ? nameEnd + 1 : nameEnd;
        if (!declarations.Declares(name)) {
            // Without its ";" an undeclared name may be SGML's text ("AT&T").
            if (!semicolon || IsOneOf(name, {"amp", "lt", "gt", "quot"})) continue;
            if (name == "apos") {
                appendText(body.substr(from, at - from));
                appendText("'");
            } else if (unread.Undeclared(name).empty()) {
                appendText(body.substr(from, at - from));
            } else {
                continue;  // the HTML parser reads it
            }
            from = after;
            at = from - 1;
            continue;
        }
        if (declarations.IsExternal(name)) unread.External(name);
        appendText(body.substr(from, at - from));
        if (const std::string* partial = declarations.PartialMarkup(name)) {
            // As bounded as the XML parser bounds what its entities copy.
            copied += partial->size();
            if (copied > std::max(kPartialMarkupAllowance, 10 * markup.size())) {
                libxml::ParsedXml bomb;
                bomb.entityBomb = true;
                libxml::RefuseBeyondLimits(bomb);
            }
            appendText(*partial);
        } else {
            out += '&';
            out += name;
            out += ';';
        }
        // SGML ends a reference at any character that cannot be in a name; ";" is then dropped.
        from = after;
        at = from - 1;
    }
    appendText(body.substr(from));
    if (!viaXml) return out;
    out += "</d>";

    const libxml::ParsedXml parsed =
        libxml::ParseXml(BytesAsXml(out), true, true, libxml::Entities::Expanded);
    libxml::RefuseBeyondLimits(parsed);
    const xmlNodePtr root = parsed.document ? xmlDocGetRootElement(parsed.document.get()) : nullptr;
    if (!root) return MarkupWithout(markup);
    std::string expanded(markup.substr(0, begin_));
    AppendMarkup(expanded, root->children);
    return expanded;
}

}  // namespace orv::engine
