#include "engine/doc/InternalSubset.h"

#include <algorithm>
#include <map>
#include <set>

#include "engine/doc/Libxml.h"
#include "engine/doc/TaggingErrors.h"
#include "engine/model/EngineError.h"

namespace orv::engine {
namespace {

using libxml::View;

// What the references to entities of partial markup may copy, whatever the file's size.
constexpr std::size_t kPartialMarkupAllowance = 1 << 20;

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

bool IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsNameChar(char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' || c == ':';
}

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

// One word or quoted literal of a markup declaration, comments ("-- ... --") left out.
struct Token {
    std::string_view text;
    bool literal = false;
};

// The tokens of the declaration whose keyword ends at `at`, up to its '>'; `at` is left past it.
std::vector<Token> DeclarationTokens(std::string_view subset, std::size_t& at) {
    std::vector<Token> tokens;
    while (at < subset.size()) {
        const char c = subset[at];
        if (c == '>') {
            ++at;
            break;
        }
        if (IsSpace(c)) {
            ++at;
        } else if (StartsWithAt(subset, at, "--")) {
            const std::size_t end = subset.find("--", at + 2);
            at = end == std::string_view::npos ? subset.size() : end + 2;
        } else if (c == '"' || c == '\'') {
            const std::size_t end = subset.find(c, at + 1);
            const std::size_t stop = end == std::string_view::npos ? subset.size() : end;
            tokens.push_back({subset.substr(at + 1, stop - at - 1), true});
            at = stop + 1;
        } else {
            const std::size_t start = at;
            while (at < subset.size() && !IsSpace(subset[at]) && subset[at] != '>' &&
                   subset[at] != '"' && subset[at] != '\'' && !StartsWithAt(subset, at, "--"))
                ++at;
            tokens.push_back({subset.substr(start, at - start), false});
        }
    }
    return tokens;
}

// An entity value as an XML literal in double quotes. A parameter entity reference cannot stand
// in an internal subset's value, and an "&" that starts no reference is SGML's own character;
// `literal` (CDATA, SDATA) makes the whole value text.
std::string XmlEntityValue(std::string_view value, bool literal) {
    std::string xml = "\"";
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        const bool reference =
            c == '&' && i + 1 < value.size() && (IsNameStart(value[i + 1]) || value[i + 1] == '#');
        if (c == '%') {
            xml += "&#37;";
        } else if (c == '"') {
            xml += "&#34;";
        } else if (c == '&' && (literal || !reference)) {
            xml += "&#38;#38;";
        } else if (c == '<' && literal) {
            xml += "&#38;#60;";
        } else {
            xml += c;
        }
    }
    return xml + '"';
}

// Whether each start tag in `value` has its end tag there, in order: the XML parser drops an
// entity whose markup it cannot parse on its own, where SGML may hold half an element.
bool TagsBalance(std::string_view value) {
    std::vector<std::string_view> open;
    for (std::size_t at = value.find('<'); at != std::string_view::npos;
         at = value.find('<', at + 1)) {
        const bool end = at + 1 < value.size() && value[at + 1] == '/';
        const std::size_t nameStart = at + (end ? 2 : 1);
        if (nameStart >= value.size() || !IsNameStart(value[nameStart])) continue;
        std::size_t nameEnd = nameStart;
        while (nameEnd < value.size() && IsNameChar(value[nameEnd])) ++nameEnd;
        const std::string_view name = value.substr(nameStart, nameEnd - nameStart);
        const std::size_t close = value.find('>', nameEnd);
        if (close == std::string_view::npos) return false;
        if (end) {
            if (open.empty() || open.back() != name) return false;
            open.pop_back();
        } else if (value[close - 1] != '/') {
            open.push_back(name);
        }
        at = close;
    }
    return open.empty();
}

// The general entities of an SGML or XML internal subset as XML declarations: internal ones
// with their text, external ones (whose content is never read) as empty, so that the XML parser
// looks for nothing outside. Parameter, PI and other SGML entities that hold no text are left
// out, as are all other declarations.
class EntityDeclarations {
public:
    explicit EntityDeclarations(std::string_view subset);
    const std::string& xml() const { return xml_; }
    bool Declares(std::string_view name) const { return names_.contains(name); }
    bool IsExternal(std::string_view name) const { return external_.contains(name); }
    // The markup of an entity that holds part of an element, which the file's markup
    // completes: it takes the place of its references as it is written.
    const std::string* PartialMarkup(std::string_view name) const {
        const auto found = partial_.find(name);
        return found == partial_.end() ? nullptr : &found->second;
    }
    bool empty() const { return names_.empty(); }

private:
    void Add(const std::vector<Token>& tokens);

    std::string xml_;
    std::set<std::string, std::less<>> names_;
    std::set<std::string, std::less<>> external_;
    std::map<std::string, std::string, std::less<>> partial_;
};

EntityDeclarations::EntityDeclarations(std::string_view subset) {
    std::size_t at = 0;
    while (at < subset.size()) {
        if (StartsWithAt(subset, at, "<!--")) {
            const std::size_t end = subset.find("-->", at + 4);
            at = end == std::string_view::npos ? subset.size() : end + 3;
        } else if (StartsWithAt(subset, at, "<?")) {
            const std::size_t end = subset.find('>', at + 2);
            at = end == std::string_view::npos ? subset.size() : end + 1;
        } else if (StartsWithAt(subset, at, "<![")) {
            // A marked section: its declarations are read as if it were included.
            const std::size_t open = subset.find('[', at + 3);
            at = open == std::string_view::npos ? subset.size() : open + 1;
        } else if (StartsWithAt(subset, at, "<!")) {
            std::size_t keyword = at + 2;
            while (keyword < subset.size() && IsNameChar(subset[keyword])) ++keyword;
            const bool entity = UpperAscii(subset.substr(at + 2, keyword - at - 2)) == "ENTITY";
            at = keyword;
            const std::vector<Token> tokens = DeclarationTokens(subset, at);
            if (entity) Add(tokens);
        } else {
            ++at;  // whitespace, parameter entity references, the end of a marked section
        }
    }
}

void EntityDeclarations::Add(const std::vector<Token>& tokens) {
    if (tokens.size() < 2 || tokens[0].literal || tokens[0].text == "%") return;
    const std::string_view name = tokens[0].text;
    if (!IsNameStart(name[0]) || names_.contains(name)) return;  // #DEFAULT; the first counts
    // Only ASCII: a byte of another encoding is no name character of XML.
    for (char c : name)
        if (!IsNameChar(c) || static_cast<unsigned char>(c) >= 0x80) return;
    std::string declaration;
    if (tokens[1].literal && !TagsBalance(tokens[1].text)) {
        names_.emplace(name);
        partial_.emplace(name, tokens[1].text);
        return;
    } else if (tokens[1].literal) {
        declaration = XmlEntityValue(tokens[1].text, false);
    } else {
        const std::string keyword = UpperAscii(tokens[1].text);
        if ((keyword == "CDATA" || keyword == "SDATA") && tokens.size() > 2 && tokens[2].literal) {
            declaration = XmlEntityValue(tokens[2].text, true);
        } else if (keyword == "SYSTEM" || keyword == "PUBLIC") {
            declaration = "\"\"";
            external_.emplace(name);
        } else {
            return;
        }
    }
    names_.emplace(name);
    xml_ += "<!ENTITY " + std::string(name) + ' ' + declaration + '>';
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
        if (nameEnd >= body.size() || !IsNameStart(body[nameEnd])) continue;
        while (nameEnd < body.size() && IsNameChar(body[nameEnd])) ++nameEnd;
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
