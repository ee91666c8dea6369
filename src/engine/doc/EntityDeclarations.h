#pragma once
// The general entities of an SGML or XML internal subset as XML declarations: internal ones
// with their text, external ones (whose content is never read) as empty, so that the XML parser
// looks for nothing outside. Parameter, PI and other SGML entities that hold no text are left
// out, as are all other declarations; SGML's comments inside declarations ("-- ... --") and
// marked sections are read as SGML reads them.

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orv::engine {

class EntityDeclarations {
public:
    explicit EntityDeclarations(std::string_view subset);

    // The characters of an entity's name in a reference.
    static bool IsNameStart(char c);
    static bool IsNameChar(char c);

    // The declarations, for an XML internal subset.
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

    // One word or quoted literal of a markup declaration, comments left out.
    struct Token {
        std::string_view text;
        bool literal = false;
    };

private:
    void Add(const std::vector<Token>& tokens);

    std::string xml_;
    std::set<std::string, std::less<>> names_;
    std::set<std::string, std::less<>> external_;
    std::map<std::string, std::string, std::less<>> partial_;
};

}  // namespace orv::engine
