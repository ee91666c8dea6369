#pragma once
// What TmIndex holds, for the matcher. Not part of the engine's interface.
//
// Every part of an index is a flat array of plain values, with no pointer and no heap object
// per unit, so that the same arrays serve from the memory of the run that built them and from
// a cache file mapped into memory (TmIndexFile.h): a memory of millions of units then costs a
// few arrays, and opening a cached one costs no more than the pages the matching reads.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/match/TmIndex.h"
#include "engine/model/Segment.h"
#include "engine/text/Tokenizer.h"

namespace orv::engine {

// A segment in the form the matcher compares: a segment searched for.
struct PreparedSegment {
    std::vector<uint32_t> folded;      // ids of the case-folded tokens, codes left out
    std::vector<uint32_t> original;    // ids of the same tokens as written
    std::vector<uint32_t> placeables;  // folded ids of numbers, URLs and e-mails, sorted
    std::vector<uint8_t> codeKinds;    // InlineCodeKind of each formatting code
    std::wstring normalised;
    std::string normalisedUtf8;  // as the index keeps its texts
    uint64_t exactKey = 0;       // hash of normalised and codeKinds
};

// An entry or a relay of the index, seen in place.
struct StoredSegment {
    std::span<const uint32_t> folded;  // entries only, as the rest of the token fields
    std::span<const uint32_t> original;
    std::span<const uint32_t> placeables;
    std::span<const uint8_t> codeKinds;
    std::string_view normalised;  // UTF-8
    uint64_t exactKey = 0;

    bool SameAs(const PreparedSegment& query) const {
        return exactKey == query.exactKey && normalised == query.normalisedUtf8 &&
               std::equal(codeKinds.begin(), codeKinds.end(), query.codeKinds.begin(),
                          query.codeKinds.end());
    }
};

struct Posting {
    uint32_t entry;   // position among the entries
    uint32_t length;  // the entry's token count
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
    void Set(uint8_t bit) { words[bit / 64 % 2] |= uint64_t{1} << (bit % 64); }
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

// A segment's exact key and its position, in a table sorted by key and then position.
struct ExactRef {
    uint64_t key;
    uint32_t position;
    uint32_t unused = 0;  // keeps the layout the same on every compiler

    friend auto operator<=>(const ExactRef&, const ExactRef&) = default;
};

// The arrays of an index, each as (name, element type). A vocabulary is its tokens' UTF-8
// texts one after another, where each begins (one more than there are tokens), and an open
// addressing table of id + 1 (0: free) by the text's hash. Segments keep their normalised
// text in UTF-8 the same way. The cache file stores them in this order.
#define ORV_TM_INDEX_ARRAYS(X)                                                           \
    X(foldedStart, uint64_t)                                                             \
    X(foldedText, char)                                                                  \
    X(foldedSlots, uint32_t)                                                             \
    X(originalStart, uint64_t)                                                           \
    X(originalText, char)                                                                \
    X(originalSlots, uint32_t)                                                           \
    /* Units translated into the target language, in TM order. */                        \
    X(entryTextStart, uint64_t)                                                          \
    X(entryText, char)                                                                   \
    X(entryCodeStart, uint64_t)                                                          \
    X(entryCodeKinds, uint8_t)                                                           \
    X(entryKeys, uint64_t)                                                               \
    X(entryUnits, uint32_t)   /* the TM position of each */                              \
    X(entryMultiple, uint8_t) /* 1: its source has more than one distinct translation */ \
    X(entrySignatures, Signature)                                                        \
    X(tokenStart, uint64_t)                                                              \
    X(foldedTokens, uint32_t)                                                            \
    X(originalTokens, uint32_t)                                                          \
    X(placeableStart, uint64_t)                                                          \
    X(placeables, uint32_t)                                                              \
    X(exact, ExactRef)                                                                   \
    X(empty, uint32_t) /* entries without tokens */                                      \
    /* Per folded id: its postings, ordered by length, then rank and then entry. */      \
    X(postingStart, uint64_t)                                                            \
    X(postings, Posting)                                                                 \
    X(signatureBits, TokenBits)                                                          \
    /* Units translated only into other languages, in TM order. */                       \
    X(relayTextStart, uint64_t)                                                          \
    X(relayText, char)                                                                   \
    X(relayCodeStart, uint64_t)                                                          \
    X(relayCodeKinds, uint8_t)                                                           \
    X(relayKeys, uint64_t)                                                               \
    X(relayUnits, uint32_t)                                                              \
    X(relayExact, ExactRef)

// The hash by which a vocabulary's table places a token's UTF-8 text.
uint64_t VocabularyHash(std::string_view utf8);

struct TmIndex::Data {
    std::wstring targetLanguage;
    std::shared_ptr<const Substitution> substitution;  // none when substitution is off
    // Whatever holds the arrays: the built vectors, or the mapped file.
    std::shared_ptr<const void> storage;

#define ORV_TM_INDEX_SPAN(name, type) std::span<const type> name;
    ORV_TM_INDEX_ARRAYS(ORV_TM_INDEX_SPAN)
#undef ORV_TM_INDEX_SPAN

    Segment Substituted(const Segment& segment) const {
        return substitution ? substitution->Apply(segment) : segment;
    }

    std::size_t Vocabulary() const {
        return foldedStart.empty() ? 0 : foldedStart.size() - 1;
    }
    std::size_t Entries() const {
        return entryKeys.size();
    }
    std::size_t Relays() const {
        return relayKeys.size();
    }

    StoredSegment Entry(uint32_t entry) const {
        StoredSegment segment =
            Stored(entryTextStart, entryText, entryCodeStart, entryCodeKinds, entryKeys, entry);
        const auto from = tokenStart[entry], to = tokenStart[entry + 1];
        segment.folded = foldedTokens.subspan(from, to - from);
        segment.original = originalTokens.subspan(from, to - from);
        segment.placeables = placeables.subspan(placeableStart[entry],
                                                placeableStart[entry + 1] - placeableStart[entry]);
        return segment;
    }
    StoredSegment Relay(uint32_t relay) const {
        return Stored(relayTextStart, relayText, relayCodeStart, relayCodeKinds, relayKeys, relay);
    }
    // The folded ids of an entry alone: what the candidate filter and the distance read.
    std::span<const uint32_t> FoldedOf(uint32_t entry) const {
        return foldedTokens.subspan(tokenStart[entry], tokenStart[entry + 1] - tokenStart[entry]);
    }

    // The id of a token's text in the folded or the original vocabulary.
    std::optional<uint32_t> FoldedId(std::string_view utf8) const {
        return Find(foldedStart, foldedText, foldedSlots, utf8);
    }
    std::optional<uint32_t> OriginalId(std::string_view utf8) const {
        return Find(originalStart, originalText, originalSlots, utf8);
    }
    std::size_t OriginalVocabulary() const {
        return originalStart.empty() ? 0 : originalStart.size() - 1;
    }

private:
    static StoredSegment Stored(std::span<const uint64_t> textStart, std::span<const char> text,
                                std::span<const uint64_t> codeStart,
                                std::span<const uint8_t> codeKinds, std::span<const uint64_t> keys,
                                uint32_t at) {
        StoredSegment segment;
        segment.normalised =
            std::string_view(text.data() + textStart[at], textStart[at + 1] - textStart[at]);
        segment.codeKinds = codeKinds.subspan(codeStart[at], codeStart[at + 1] - codeStart[at]);
        segment.exactKey = keys[at];
        return segment;
    }
    static std::optional<uint32_t> Find(std::span<const uint64_t> start, std::span<const char> text,
                                        std::span<const uint32_t> slots, std::string_view utf8);
};

// Whether the arrays of `data` make an index that can be searched without reading outside
// them: every start array rises to its array's end, every id is in its vocabulary, every
// position among its segments, every table has a free slot. A damaged cache file fails here
// (or at its checksum) before the matcher reads it.
bool IsSearchable(const TmIndex::Data& data);

// `tokenized` is Tokenize(segment). Tokens that `data` has not seen get ids of their own
// at and above its vocabulary, so that they equal nothing in the TM.
PreparedSegment PrepareQuery(const TmIndex::Data& data, const Segment& segment,
                             const TokenizedSegment& tokenized);

}  // namespace orv::engine
