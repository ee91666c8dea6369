#include "engine/doc/EntityDeclarations.h"

namespace orv::engine {

bool EntityDeclarations::IsNameStart(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool EntityDeclarations::IsNameChar(char c) {
    return EntityDeclarations::IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == ':';
}

namespace {

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
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

// The tokens of the declaration whose keyword ends at `at`, up to its '>'; `at` is left past it.
std::vector<EntityDeclarations::Token> DeclarationTokens(std::string_view subset, std::size_t& at) {
    std::vector<EntityDeclarations::Token> tokens;
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
            c == '&' && i + 1 < value.size() &&
            (EntityDeclarations::IsNameStart(value[i + 1]) || value[i + 1] == '#');
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
        if (nameStart >= value.size() || !EntityDeclarations::IsNameStart(value[nameStart]))
            continue;
        std::size_t nameEnd = nameStart;
        while (nameEnd < value.size() && EntityDeclarations::IsNameChar(value[nameEnd])) ++nameEnd;
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

}  // namespace

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
            while (keyword < subset.size() && EntityDeclarations::IsNameChar(subset[keyword]))
                ++keyword;
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
    if (!EntityDeclarations::IsNameStart(name[0]) || names_.contains(name))
        return;  // #DEFAULT; the first counts
    // Only ASCII: a byte of another encoding is no name character of XML.
    for (char c : name)
        if (!EntityDeclarations::IsNameChar(c) || static_cast<unsigned char>(c) >= 0x80) return;
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

}  // namespace orv::engine
