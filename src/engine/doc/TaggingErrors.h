#pragma once
// Tagging errors: faults of the inline codes of a document's source, each counted once:
// - an end without a begin before it (an orphaned end);
// - a begin never ended (an orphaned begin);
// - an end that closes a pair other than the innermost open one (crossed pairs, as in
//   <b><i></b></i>; the inner pair stays open and may still end without fault).

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "engine/doc/DocumentSettings.h"
#include "engine/model/Segment.h"

namespace orv::engine {

class TagBalance {
public:
    void Open(std::string key);
    void Close(std::string_view key);
    // The faults counted so far, with every pair still open counted as one; starts afresh.
    int64_t Finish();

private:
    std::vector<std::string> open_;
    std::unordered_map<std::string, int64_t> openCount_;  // so that an orphan costs no search
    int64_t faults_ = 0;
};

// The faults of codes paired by their pairId (isolated and standalone codes are none).
int64_t CountCodeTaggingErrors(const std::vector<InlineCode>& codes);

enum class MarkupDialect {
    // Names ignore case; void elements (br, img...) take no end tag; script, style, title,
    // textarea and xmp hold raw text.
    Html,
    // Names ignore case; an element without an end tag is written <x/>.
    Xml,
};

// Where the declaration opened at `at` ("<!DOCTYPE ... [ ... ]>") ends, past its '>'; npos when
// the markup ends first.
std::size_t DeclarationEnd(std::string_view markup, std::size_t at);

// The faults of the inline elements of markup (`rules`) as the tags stand in the file, before
// any parser mends them: other elements, comments, CDATA sections, declarations and
// processing instructions do not count. `markup` is in an ASCII-compatible encoding.
int64_t CountMarkupTaggingErrors(std::string_view markup, const MarkupRules& rules,
                                 MarkupDialect dialect);

// Throws an engine error, which says what is never closed, when the markup ends inside a
// comment, CDATA section, declaration, processing instruction or tag that holds later tags: a
// parser would take the rest of the file into it, and its text would be lost without a word.
void RefuseMarkupHiddenByUnclosed(std::string_view markup, MarkupDialect dialect);

}  // namespace orv::engine
