#pragma once
// Entities whose text a reader has not got, as nothing outside a document is read: a reference
// to an entity that the file does not declare (DocBook and XHTML declare theirs in an external
// DTD) counts as the character that HTML names so, else as nothing; an external entity counts
// as nothing. Each is said once, in a note for the analysis log.

#include <libxml/tree.h>

#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orv::engine {

class UnreadEntities {
public:
    // The text, in UTF-8, that an entity reference which libxml2 left in the tree counts as:
    // having expanded every internal entity, it leaves those the file does not declare.
    std::string TextOf(xmlNodePtr reference);
    // The text, in UTF-8, that a reference to the undeclared entity `name` counts as.
    std::string Undeclared(std::string_view name);
    // An external entity that the text refers to.
    void External(std::string_view name);
    // A note for each entity, in the order met.
    const std::vector<std::wstring>& notes() const { return notes_; }

private:
    bool FirstTime(std::string_view name) { return noted_.emplace(name).second; }

    std::set<std::string, std::less<>> noted_;
    std::vector<std::wstring> notes_;
};

}  // namespace orv::engine
