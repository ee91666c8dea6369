#pragma once
// What TmIndex holds, for the matcher. Not part of the engine's interface.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/match/TmIndex.h"
#include "engine/model/Segment.h"
#include "engine/text/Tokenizer.h"

namespace orv::engine {

// A segment in the form the matcher compares.
struct PreparedSegment {
    std::vector<uint32_t> folded;      // ids of the case-folded tokens, codes left out
    std::vector<uint32_t> original;    // ids of the same tokens as written
    std::vector<uint32_t> placeables;  // folded ids of numbers, URLs and e-mails, sorted
    std::vector<InlineCode::Kind> codeKinds;
    std::wstring normalised;
    uint64_t exactKey = 0;  // hash of normalised and codeKinds

    bool SameAs(const PreparedSegment& other) const {
        return exactKey == other.exactKey && normalised == other.normalised &&
               codeKinds == other.codeKinds;
    }
};

struct Posting {
    uint32_t entry;   // position in TmIndex::Data::entries
    uint32_t length;  // the entry's token count
    uint32_t count;   // how often the token occurs in it
    // How many of the entry's tokens (occurrences) are rarer than this one: ordered by the
    // number of entries that have them, fewest first, and then by id.
    uint32_t rank;
};

// Where a token goes in a Signature: a common token owns the bits from `first` on, one for
// each of its first `levels` occurrences; any other shares the bit `first` with others.
struct TokenBits {
    uint8_t first = 0;
    uint8_t levels = 0;
};

// Which tokens a unit has, in 128 bits. The first 64 say exactly how often, up to a few
// times, the unit has the tokens that most units have ("the", "the" twice, "."); the other
// tokens share the other 64 by a hash. A clear bit proves that the unit lacks every token of
// that bit, or has fewer occurrences of it.
struct Signature {
    uint64_t words[2] = {0, 0};

    void Add(TokenBits bits, uint32_t count) {
        if (bits.levels == 0) return Set(bits.first);
        for (uint32_t level = 0; level < count && level < bits.levels; ++level)
            Set(static_cast<uint8_t>(bits.first + level));
    }
    void Set(uint8_t bit) { words[bit / 64] |= uint64_t{1} << (bit % 64); }
    // How many bits both have.
    uint32_t Common(const Signature& other) const {
        return Bits(words[0] & other.words[0]) + Bits(words[1] & other.words[1]);
    }
    uint32_t Count() const { return Bits(words[0]) + Bits(words[1]); }

private:
    // Without a population-count instruction in the build, std::popcount is a library call.
    static uint32_t Bits(uint64_t x) {
        x -= (x >> 1) & 0x5555555555555555u;
        x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
        return static_cast<uint32_t>((x * 0x0101010101010101u) >> 56);
    }
};

struct TmIndex::Data {
    std::wstring targetLanguage;
    std::shared_ptr<const Substitution> substitution;  // none when substitution is off

    Segment Substituted(const Segment& segment) const {
        return substitution ? substitution->Apply(segment) : segment;
    }

    std::unordered_map<std::wstring, uint32_t> foldedIds;
    std::unordered_map<std::wstring, uint32_t> originalIds;

    // Units translated into the target language, in TM order.
    std::vector<PreparedSegment> entries;
    std::vector<std::size_t> entryUnit;                // the TM position of each entry
    std::vector<bool> multipleTranslations;            // per entry
    std::vector<std::pair<uint64_t, uint32_t>> exact;  // (exactKey, entry), sorted
    std::vector<uint32_t> empty;                       // entries without tokens

    // Per folded id: its postings, ordered by length, then rank and then entry.
    std::vector<uint32_t> postingStart;  // size foldedIds.size() + 1
    std::vector<Posting> postings;
    // Per posting: its entry's signature, beside the posting so that reading a posting list
    // reads them too, in order, instead of one entry's signature here and one there.
    std::vector<Signature> postingSignatures;
    std::vector<TokenBits> signatureBits;  // per folded id

    // Units translated only into other languages, in TM order.
    std::vector<PreparedSegment> relays;
    std::vector<std::size_t> relayUnit;
    std::vector<std::pair<uint64_t, uint32_t>> relayExact;  // (exactKey, relay), sorted

    std::size_t Vocabulary() const { return foldedIds.size(); }
};

// `tokenized` is Tokenize(segment). Tokens that `data` has not seen get ids of their own
// at and above its vocabulary, so that they equal nothing in the TM.
PreparedSegment PrepareQuery(const TmIndex::Data& data, const Segment& segment,
                             const TokenizedSegment& tokenized);

}  // namespace orv::engine
