#pragma once
// The internal subset of a document type declaration ("<!DOCTYPE x [ ... ]>"), for the lenient
// HTML parser, which would take its declarations for text and knows none of the entities it
// declares. The XML parser expands those entities, as it does in XML: one implementation, and
// its limits against entity bombs, for both.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/doc/UnreadEntities.h"

namespace orv::engine {

class InternalSubset {
public:
    // The subset of the declaration that leads the markup (after comments, processing
    // instructions and whitespace); none when the markup has no such declaration or it has no
    // subset. Throws an engine error when the declaration is never closed: whatever follows
    // would be taken for declarations and lost.
    static std::optional<InternalSubset> Find(std::string_view markup);

    // The markup without the declaration.
    std::string MarkupWithout(std::string_view markup) const;

    // For markup without one: nothing to take out, no entity declared.
    static InternalSubset None() { return InternalSubset(0, 0, {}); }

    // The markup without the declaration, each reference to a general entity that the subset
    // declares replaced by the entity's text, markup included, as the XML parser expands it.
    // A reference to an entity that it does not declare counts as UnreadEntities says: the
    // HTML parser reads those that HTML knows, the others are taken out. `unread` notes those
    // and the external entities met, whose content is never read. Throws an engine error for an
    // expansion beyond the XML parser's limits.
    std::string ExpandEntities(std::string_view markup, UnreadEntities& unread) const;

private:
    InternalSubset(std::size_t begin, std::size_t end, std::string_view subset)
        : begin_(begin), end_(end), subset_(subset) {}

    std::size_t begin_;        // of "<!DOCTYPE"
    std::size_t end_;          // past its '>'
    std::string_view subset_;  // between '[' and ']'
};

}  // namespace orv::engine
