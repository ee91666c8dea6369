#pragma once
// The runs of one paragraph of a word processor or a slide, each with its formatting, made into
// a block in which a change of formatting is a pair of inline codes, as a tag would be in
// markup: formatting penalties and tagging rules then treat both alike. The formatting that
// most of the paragraph's characters have is its own and gets no code; a stretch of runs with
// another one is enclosed in a pair. So a paragraph all in bold has no code, and "a *b* c"
// has one pair around "b".

#include <string>
#include <string_view>
#include <vector>

#include "engine/doc/BlockBuilder.h"

namespace orv::engine {

class FormattedRuns {
public:
    // Text of a run whose formatting is `formatting`: any text that tells formattings apart,
    // as the file writes it ("<w:b/><w:i/>", a style name); "" for none.
    void AddText(std::string_view utf8, std::string_view formatting);
    // A code that stands alone in the text (a tab, a line break, a picture, a field's code),
    // inside the stretch of the formatting around it.
    void AddCode(std::wstring content);

    bool HasText() const;
    // Appends the runs to `block`, and starts afresh. Pair ids are numbered from `nextPair`
    // on, which is moved past them, so that a reader keeps them distinct across its blocks.
    void AppendTo(BlockBuilder& block, int& nextPair);

private:
    struct Piece {
        std::string text;        // UTF-8; empty for a code
        std::wstring code;       // the code's content
        std::string formatting;  // of the text; a code's is that of the text before it
    };
    std::vector<Piece> pieces_;
};

}  // namespace orv::engine
