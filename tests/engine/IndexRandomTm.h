#pragma once
// Random translation memories and batches for comparing the index with the brute-force
// matcher: words drawn from a vocabulary with Zipf-like frequencies, numbers, punctuation
// and inline codes; queries that are copies of units, copies with a few edits (words,
// numbers, letter case, codes), new sentences and repeats.

#include <algorithm>
#include <cwctype>
#include <random>
#include <string>
#include <vector>

#include "engine/model/TranslationMemory.h"

namespace orv::engine::test {

class RandomTm {
public:
    // `shortPercent` of the new sentences have one to three pieces.
    explicit RandomTm(uint32_t seed, std::size_t vocabularySize = 400, int shortPercent = 0)
        : random_(seed), shortPercent_(shortPercent) {
        const wchar_t* syllables[] = {L"ka", L"lo", L"mi", L"ne", L"su", L"ta", L"ri",
                                      L"po", L"ve", L"du", L"ga", L"fe", L"zi", L"bo"};
        std::vector<double> weights;
        while (vocabulary_.size() < vocabularySize) {
            std::wstring word;
            for (int s = 1 + Below(3); s >= 0; --s) word += syllables[Below(14)];
            if (std::find(vocabulary_.begin(), vocabulary_.end(), word) != vocabulary_.end())
                continue;
            vocabulary_.push_back(word);
            weights.push_back(1.0 / static_cast<double>(vocabulary_.size()));
        }
        zipf_ = std::discrete_distribution<int>(weights.begin(), weights.end());
    }

    struct Piece {
        enum Kind { Word, Number, Punctuation, Begin, End, Standalone } kind;
        std::wstring text;
    };
    using Sentence = std::vector<Piece>;

    Sentence NewSentence() {
        int length = shortPercent_ > 0 && Below(100) < shortPercent_ ? 1 + Below(3)
                     : Below(100) < 5                                ? 60 + Below(70)
                                      : 1 + Below(12) + Below(12) + Below(8);
        Sentence sentence;
        for (int i = 0; i < length; ++i) sentence.push_back(NewPiece());
        return sentence;
    }

    // `edits` random changes: a word replaced, added or removed, a number added, a word's
    // letter case changed, a code added or removed.
    Sentence Edit(Sentence sentence, int edits) {
        for (int e = 0; e < edits; ++e) {
            const auto at = sentence.begin() + Pick(sentence.size());
            const bool none = sentence.empty();
            switch (Below(8)) {
                case 0:
                case 1:
                    if (!none) *at = NewPiece();
                    break;
                case 2:
                    sentence.insert(at, NewPiece());
                    break;
                case 3:
                    if (!none) sentence.erase(at);
                    break;
                case 4:
                    sentence.insert(at, Piece{Piece::Number, Number()});
                    break;
                case 5:
                    if (!none && at->kind == Piece::Word)
                        at->text[0] = static_cast<wchar_t>(std::towupper(at->text[0]));
                    break;
                case 6:
                    sentence.insert(at, Piece{Piece::Standalone, L"<x/>"});
                    break;
                default: {
                    auto code = std::find_if(sentence.begin(), sentence.end(),
                                             [](const Piece& p) { return p.kind >= Piece::Begin; });
                    if (code != sentence.end()) sentence.erase(code);
                }
            }
        }
        return sentence;
    }

    Segment Render(const Sentence& sentence, bool extraSpaces = false) {
        Segment segment;
        for (const Piece& piece : sentence) {
            if (!segment.text.empty()) segment.text += extraSpaces && Below(3) == 0 ? L"  " : L" ";
            if (piece.kind < Piece::Begin) {
                segment.text += piece.text;
                continue;
            }
            segment.text += kCodeMark;
            auto kind = piece.kind == Piece::Begin ? InlineCode::Kind::Begin
                        : piece.kind == Piece::End ? InlineCode::Kind::End
                                                   : InlineCode::Kind::Standalone;
            segment.codes.push_back(InlineCode{kind, L"", piece.text + std::to_wstring(Below(3))});
        }
        return segment;
    }

    struct Generated {
        TranslationMemory tm;
        std::vector<Sentence> sources;
    };

    // Most units translated into de-DE, some only into fr-FR, a few into nothing (or a
    // blank de-DE); a few repeat an earlier source, with its translation or another one.
    Generated NewTm(std::size_t units) {
        Generated made{{L"en-US", {L"de-DE", L"fr-FR"}, {}}, {}};
        for (std::size_t u = 0; u < units; ++u) {
            made.sources.push_back(u > 0 && Below(100) < 3 ? made.sources[Pick(u)] : NewSentence());
            TranslationUnit unit{Render(made.sources.back()), {}};
            const int kind = Below(100);
            const auto translation = L"Übersetzung " + std::to_wstring(Below(2) == 0 ? u : u % 7);
            if (kind < 85)
                unit.targets.push_back({L"de-DE", {translation, {}}});
            else if (kind < 95)
                unit.targets.push_back({L"fr-FR", {L"traduction", {}}});
            else if (kind < 97)
                unit.targets.push_back({L"de-DE", {L"  ", {}}});
            made.tm.units.push_back(std::move(unit));
        }
        return made;
    }

    std::vector<Segment> NewBatch(const Generated& generated, std::size_t size) {
        std::vector<Segment> batch;
        std::vector<Sentence> asked;
        for (std::size_t q = 0; q < size; ++q) {
            const Sentence& unit = generated.sources[Pick(generated.sources.size())];
            const int kind = Below(100);
            asked.push_back(kind < 20       ? unit
                            : kind < 75     ? Edit(unit, 1 + Below(Below(2) == 0 ? 3 : 10))
                            : kind < 93     ? NewSentence()
                            : asked.empty() ? unit
                                            : asked[Pick(asked.size())]);
            batch.push_back(Render(asked.back(), kind >= 93));
        }
        return batch;
    }

private:
    int Below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
    // An index below `n`, or 0 when there is none.
    std::size_t Pick(std::size_t n) {
        return n == 0 ? 0 : static_cast<std::size_t>(Below(static_cast<int>(n)));
    }

    std::wstring Number() {
        std::wstring number = std::to_wstring(Below(200));
        if (Below(4) == 0) number += L"." + std::to_wstring(Below(10));
        return number;
    }

    Piece NewPiece() {
        int kind = Below(100);
        if (kind < 7) return Piece{Piece::Number, Number()};
        if (kind < 14) return Piece{Piece::Punctuation, std::wstring(1, L",.;!?"[Below(5)])};
        if (kind < 17) return Piece{Below(2) == 0 ? Piece::Begin : Piece::End, L"<b>"};
        if (kind < 19) return Piece{Piece::Standalone, L"<x/>"};
        std::wstring word = vocabulary_[static_cast<std::size_t>(zipf_(random_))];
        if (Below(20) == 0) word[0] = static_cast<wchar_t>(std::towupper(word[0]));
        return Piece{Piece::Word, word};
    }

    std::mt19937 random_;
    int shortPercent_;
    std::vector<std::wstring> vocabulary_;
    std::discrete_distribution<int> zipf_;
};

}  // namespace orv::engine::test
