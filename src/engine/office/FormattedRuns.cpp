#include "engine/office/FormattedRuns.h"

#include <map>

#include "engine/text/Utf8.h"

namespace orv::engine {

void FormattedRuns::AddText(std::string_view utf8, std::string_view formatting) {
    if (utf8.empty()) return;
    if (!pieces_.empty() && pieces_.back().code.empty() &&
        pieces_.back().formatting == formatting) {
        pieces_.back().text += utf8;
        return;
    }
    pieces_.push_back({std::string(utf8), {}, std::string(formatting)});
}

void FormattedRuns::AddCode(std::wstring content) {
    std::string formatting = pieces_.empty() ? std::string() : pieces_.back().formatting;
    pieces_.push_back({{}, std::move(content), std::move(formatting)});
}

bool FormattedRuns::HasText() const {
    for (const Piece& piece : pieces_)
        for (char c : piece.text)
            if (c != ' ' && c != '\t' && c != '\n' && c != '\r') return true;
    return false;
}

void FormattedRuns::AppendTo(BlockBuilder& block, int& nextPair) {
    // The paragraph's own formatting: the one of most characters that are not spaces; of two
    // with as many, the one met first.
    std::map<std::string, std::size_t> characters;
    std::string own;
    std::size_t most = 0;
    for (const Piece& piece : pieces_) {
        std::size_t count = 0;
        for (char c : piece.text)
            if (c != ' ' && (static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
        if (count == 0) continue;
        const std::size_t total = characters[piece.formatting] += count;
        if (total > most) {
            most = total;
            own = piece.formatting;
        }
    }

    std::string open;  // the formatting of the pair open now; `own` when none is
    std::wstring pairId;
    bool isOpen = false;
    const auto close = [&] {
        if (!isOpen) return;
        block.AppendCode({InlineCode::Kind::End, pairId, L"</" + FromUtf8(open) + L">"});
        isOpen = false;
    };
    for (const Piece& piece : pieces_) {
        // A code takes the formatting around it, and opens no pair of its own.
        if (piece.text.empty()) {
            block.AppendCode({InlineCode::Kind::Standalone, L"", piece.code});
            continue;
        }
        if (isOpen && piece.formatting != open) close();
        if (!isOpen && piece.formatting != own) {
            open = piece.formatting;
            pairId = std::to_wstring(nextPair++);
            block.AppendCode({InlineCode::Kind::Begin, pairId, L"<" + FromUtf8(open) + L">"});
            isOpen = true;
        }
        block.AppendUtf8(piece.text, BlockBuilder::Spaces::Keep);
    }
    close();
    pieces_.clear();
}

}  // namespace orv::engine
