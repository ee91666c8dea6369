#include "SyntheticCorpus.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <unordered_set>

namespace orv::bench {

namespace {

using engine::InlineCode;
using engine::kCodeMark;
using engine::Segment;

constexpr std::size_t kVocabulary = 20000;
constexpr double kZipfExponent = 1.1;

// The output of std::mt19937_64 is fixed by the standard, that of its distributions is
// not: these are, so a seed gives the same corpus with every library.
class Random {
public:
    explicit Random(uint64_t seed) : engine_(seed) {}
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }
    std::size_t Between(std::size_t low, std::size_t high) { return low + Below(high - low + 1); }
    double Unit() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
    bool Chance(double p) { return Unit() < p; }

private:
    std::mt19937_64 engine_;
};

class Zipf {
public:
    Zipf(std::size_t ranks, double exponent) : cumulative_(ranks) {
        double total = 0;
        for (std::size_t k = 0; k < ranks; ++k)
            cumulative_[k] = total += std::pow(static_cast<double>(k + 1), -exponent);
    }
    uint32_t operator()(Random& random) const {
        auto at = std::upper_bound(cumulative_.begin(), cumulative_.end() - 1,
                                   random.Unit() * cumulative_.back());
        return static_cast<uint32_t>(at - cumulative_.begin());
    }

private:
    std::vector<double> cumulative_;
};

struct Syllables {
    std::vector<std::wstring> onsets, nuclei, codas;
};

// Distinct words of one to three syllables, shortest first: the frequent ranks are short.
std::vector<std::wstring> MakeWords(Random& random, const Syllables& syllables) {
    auto pick = [&](const std::vector<std::wstring>& from) {
        return from[random.Below(from.size())];
    };
    std::vector<std::wstring> words;
    std::unordered_set<std::wstring> seen;
    while (words.size() < kVocabulary) {
        std::wstring word;
        for (std::size_t s = random.Between(1, 3); s > 0; --s)
            word += pick(syllables.onsets) + pick(syllables.nuclei) + pick(syllables.codas);
        if (seen.insert(word).second) words.push_back(std::move(word));
    }
    std::stable_sort(words.begin(), words.end(), [](const std::wstring& a, const std::wstring& b) {
        return a.size() < b.size();
    });
    return words;
}

struct Piece {
    enum class Kind { Word, Number, Mark, Begin, End };
    Kind kind = Kind::Word;
    uint32_t rank = 0;  // of a word
    std::wstring text;  // of a number or a punctuation mark
};
using Sentence = std::vector<Piece>;

bool IsToken(const Piece& piece) {
    return piece.kind == Piece::Kind::Word || piece.kind == Piece::Kind::Number;
}

class Generator {
public:
    explicit Generator(uint64_t seed)
        : random(seed),
          english_(MakeWords(random, {{L"b",  L"c",  L"d",  L"f",  L"g",  L"h",  L"k", L"l",
                                       L"m",  L"n",  L"p",  L"r",  L"s",  L"t",  L"v", L"w",
                                       L"st", L"tr", L"pl", L"gr", L"ch", L"sh", L"th"},
                                      {L"a", L"e", L"i", L"o", L"u", L"ea", L"ou", L"ai"},
                                      {L"", L"", L"n", L"r", L"s", L"t", L"l", L"nd", L"ck"}})),
          german_(MakeWords(
              random,
              {{L"b", L"d", L"f", L"g", L"h", L"k", L"l", L"m", L"n", L"p", L"r", L"s", L"t", L"w",
                L"z", L"sch", L"st", L"pf", L"kr"},
               {L"a", L"e", L"i", L"o", L"u", L"\u00e4", L"\u00f6", L"\u00fc", L"ei", L"ie", L"au"},
               {L"", L"n", L"r", L"s", L"t", L"ch", L"\u00df", L"ng", L"rt"}})),
          zipf_(kVocabulary, kZipfExponent) {}

    Sentence NewSentence() {
        Sentence sentence;
        const std::size_t length = random.Between(5, 25);
        for (std::size_t i = 0; i < length; ++i) {
            sentence.push_back(RandomToken());
            if (i + 1 < length && random.Chance(0.06)) sentence.push_back(Mark(L","));
        }
        if (random.Chance(0.05)) {
            const std::size_t begin = random.Below(sentence.size());
            const std::size_t end = std::min(sentence.size(), begin + random.Between(1, 3));
            sentence.insert(sentence.begin() + static_cast<std::ptrdiff_t>(end),
                            Piece{Piece::Kind::End, 0, {}});
            sentence.insert(sentence.begin() + static_cast<std::ptrdiff_t>(begin),
                            Piece{Piece::Kind::Begin, 0, {}});
        }
        static const wchar_t* const kEnds[] = {L".", L".", L".", L".", L".", L".",
                                               L".", L".", L"?", L"?", L"!", L":"};
        sentence.push_back(Mark(kEnds[random.Below(std::size(kEnds))]));
        return sentence;
    }

    // Substitutes (three times in five), deletes or inserts 1 to 6 tokens.
    void Edit(Sentence& sentence) {
        for (std::size_t edits = random.Between(1, 6); edits > 0; --edits) {
            std::vector<std::size_t> tokens;
            for (std::size_t i = 0; i < sentence.size(); ++i)
                if (IsToken(sentence[i])) tokens.push_back(i);
            const std::size_t at = tokens[random.Below(tokens.size())];
            const double what = random.Unit();
            if (what < 0.6)
                sentence[at] = RandomToken();
            else if (what < 0.8 && tokens.size() > 1)
                sentence.erase(sentence.begin() + static_cast<std::ptrdiff_t>(at));
            else
                sentence.insert(sentence.begin() + static_cast<std::ptrdiff_t>(at), RandomToken());
        }
    }

    Segment English(const Sentence& sentence) const { return Render(sentence, english_); }
    Segment German(const Sentence& sentence) const { return Render(sentence, german_); }

    Random random;

private:
    static Piece Mark(const wchar_t* text) { return Piece{Piece::Kind::Mark, 0, text}; }

    // A word; one time in 25 a number ("1024", "3.5").
    Piece RandomToken() {
        if (!random.Chance(0.04)) return Piece{Piece::Kind::Word, zipf_(random), {}};
        std::wstring number = std::to_wstring(random.Below(10000));
        if (random.Chance(0.3))
            number = std::to_wstring(random.Below(100)) + L"." + std::to_wstring(random.Below(10));
        return Piece{Piece::Kind::Number, 0, number};
    }

    static Segment Render(const Sentence& sentence, const std::vector<std::wstring>& words) {
        Segment segment;
        bool glued = false;  // right after the start of a bold span
        for (const Piece& piece : sentence) {
            switch (piece.kind) {
                case Piece::Kind::Word:
                case Piece::Kind::Number:
                    if (!segment.text.empty() && !glued) segment.text += L' ';
                    segment.text +=
                        piece.kind == Piece::Kind::Word ? words[piece.rank] : piece.text;
                    glued = false;
                    break;
                case Piece::Kind::Mark:
                    segment.text += piece.text;
                    break;
                case Piece::Kind::Begin:
                    if (!segment.text.empty()) segment.text += L' ';
                    segment.text += kCodeMark;
                    segment.codes.push_back({InlineCode::Kind::Begin, L"1", L"<b>"});
                    glued = true;
                    break;
                case Piece::Kind::End:
                    segment.text += kCodeMark;
                    segment.codes.push_back({InlineCode::Kind::End, L"1", L"</b>"});
                    break;
            }
        }
        auto first = std::find_if(segment.text.begin(), segment.text.end(),
                                  [](wchar_t c) { return c != kCodeMark; });
        if (first != segment.text.end() && *first >= L'a' && *first <= L'z')
            *first = static_cast<wchar_t>(*first - L'a' + L'A');
        return segment;
    }

    std::vector<std::wstring> english_, german_;
    Zipf zipf_;
};

}  // namespace

Corpus MakeSyntheticCorpus(std::size_t units, std::size_t queries, uint64_t seed) {
    Generator generator(seed);
    Random& random = generator.random;
    Corpus corpus;
    corpus.tm.sourceLanguage = L"en-US";
    corpus.tm.targetLanguages = {L"de-DE"};

    std::vector<Sentence> sentences;
    sentences.reserve(units);
    for (std::size_t u = 0; u < units; ++u) {
        Sentence translated;
        if (u > 0 && random.Chance(0.01)) {
            sentences.push_back(sentences[random.Below(u)]);
            translated = sentences.back();
            generator.Edit(translated);  // another translation of the same source
        } else {
            sentences.push_back(generator.NewSentence());
            translated = sentences.back();
        }
        corpus.tm.units.push_back(
            {generator.English(sentences.back()), {{L"de-DE", generator.German(translated)}}});
    }

    for (std::size_t q = 0; q < queries; ++q) {
        const double what = random.Unit();
        if (q > 0 && what < 0.10) {
            corpus.batch.push_back(corpus.batch[random.Below(q)]);
        } else if (units > 0 && what < 0.25) {
            corpus.batch.push_back(corpus.tm.units[random.Below(units)].source);
        } else if (units > 0 && what < 0.60) {
            Sentence edited = sentences[random.Below(units)];
            generator.Edit(edited);
            corpus.batch.push_back(generator.English(edited));
        } else {
            corpus.batch.push_back(generator.English(generator.NewSentence()));
        }
    }
    return corpus;
}

}  // namespace orv::bench
