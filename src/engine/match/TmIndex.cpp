#include "engine/match/TmIndex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

#include <unicode/uchar.h>

#include "engine/match/ParallelFor.h"
#include "engine/match/TmIndexBuilder.h"
#include "engine/match/TmIndexData.h"
#include "engine/match/TokenVocabulary.h"
#include "engine/model/EngineError.h"
#include "engine/text/Fnv1a.h"
#include "engine/text/Utf8.h"
#include "engine/tm/LanguageIds.h"

namespace orv::engine {

namespace {

bool IsBlank(const Segment& segment) {
    return std::all_of(segment.text.begin(), segment.text.end(),
                       [](wchar_t c) { return u_isUWhiteSpace(static_cast<UChar32>(c)); });
}

uint64_t ExactKey(const std::wstring& normalised, const std::vector<uint8_t>& kinds) {
    uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over whole characters
    auto add = [&](uint32_t value) {
        hash ^= value;
        hash *= 0x100000001b3u;
    };
    for (wchar_t c : normalised) add(static_cast<uint32_t>(c));
    add(0xFFFFFFFFu);  // no character has this value: the text ends here
    for (uint8_t kind : kinds) add(kind);
    return hash;
}

std::vector<uint8_t> CodeKinds(const Segment& segment) {
    std::vector<uint8_t> kinds;
    for (InlineCodeKind kind : FormattingCodeKinds(segment))
        kinds.push_back(static_cast<uint8_t>(kind));
    return kinds;
}

bool IsPlaceable(Token::Kind kind) {
    return kind == Token::Kind::Number || kind == Token::Kind::Url || kind == Token::Kind::Email ||
           kind == Token::Kind::Placeholder;
}

// The text and codes of `segment` as the index compares them, without tokens.
PreparedSegment Untokenized(const Segment& segment, std::wstring normalised) {
    PreparedSegment prepared;
    prepared.normalised = std::move(normalised);
    prepared.normalisedUtf8 = ToUtf8(prepared.normalised);
    prepared.codeKinds = CodeKinds(segment);
    prepared.exactKey = ExactKey(prepared.normalised, prepared.codeKinds);
    return prepared;
}

template <class FoldedId, class OriginalId>
PreparedSegment Prepare(const Segment& segment, const TokenizedSegment& tokenized,
                        FoldedId&& foldedId, OriginalId&& originalId) {
    PreparedSegment prepared = Untokenized(segment, tokenized.normalised);
    for (const Token& token : tokenized.tokens) {
        if (token.kind == Token::Kind::Code) continue;
        uint32_t id = foldedId(token.folded);
        prepared.folded.push_back(id);
        prepared.original.push_back(originalId(token, id));
        if (IsPlaceable(token.kind) || IsSubstitutionMark(token.text))
            prepared.placeables.push_back(id);
    }
    std::sort(prepared.placeables.begin(), prepared.placeables.end());
    return prepared;
}

// The arrays while they are built; the index's spans look into them.
struct BuiltArrays {
#define ORV_TM_INDEX_VECTOR(name, type) std::vector<type> name;
    ORV_TM_INDEX_ARRAYS(ORV_TM_INDEX_VECTOR)
#undef ORV_TM_INDEX_VECTOR
};

// Points the spans of `data` at `arrays`: again after any of them has grown.
void Seal(TmIndex::Data& data, const BuiltArrays& arrays) {
#define ORV_TM_INDEX_SEAL(name, type) data.name = arrays.name;
    ORV_TM_INDEX_ARRAYS(ORV_TM_INDEX_SEAL)
#undef ORV_TM_INDEX_SEAL
}

// The ids common to every thread, numbered by first occurrence in TM order.
struct CommonVocabulary {
    TokenVocabulary texts;

    // Turns `local` ids of `vocabulary` into common ones; `common` remembers them by local id.
    void Renumber(std::vector<uint32_t>& local, const TokenVocabulary& vocabulary,
                  std::vector<uint32_t>& common) {
        if (common.size() < vocabulary.size()) common.resize(vocabulary.size(), UINT32_MAX);
        for (uint32_t& id : local) {
            uint32_t& mapped = common[id];
            if (mapped == UINT32_MAX) mapped = texts.Intern(vocabulary.Text(id));
            id = mapped;
        }
    }
};

// A vocabulary's arrays: the texts in UTF-8 by id, and the table that finds them.
void StoreVocabulary(const TokenVocabulary& texts, std::vector<uint64_t>& start,
                     std::vector<char>& bytes, std::vector<uint32_t>& slots) {
    start.assign(1, 0);
    std::string utf8;
    for (uint32_t id = 0; id < texts.size(); ++id) {
        utf8.clear();
        AppendAsUtf8(utf8, texts.Text(id));
        bytes.insert(bytes.end(), utf8.begin(), utf8.end());
        start.push_back(bytes.size());
    }
    std::size_t size = 2;
    while (size < 2 * texts.size() + 1) size *= 2;
    slots.assign(size, 0);
    for (std::size_t id = 0; id < texts.size(); ++id) {
        const std::string_view text(bytes.data() + start[id], start[id + 1] - start[id]);
        std::size_t at = VocabularyHash(text) & (size - 1);
        while (slots[at] != 0) at = (at + 1) & (size - 1);
        slots[at] = static_cast<uint32_t>(id + 1);
    }
}

void AppendSegment(const PreparedSegment& segment, std::vector<uint64_t>& textStart,
                   std::vector<char>& text, std::vector<uint64_t>& codeStart,
                   std::vector<uint8_t>& codeKinds, std::vector<uint64_t>& keys) {
    if (textStart.empty()) textStart.push_back(0);
    if (codeStart.empty()) codeStart.push_back(0);
    text.insert(text.end(), segment.normalisedUtf8.begin(), segment.normalisedUtf8.end());
    textStart.push_back(text.size());
    codeKinds.insert(codeKinds.end(), segment.codeKinds.begin(), segment.codeKinds.end());
    codeStart.push_back(codeKinds.size());
    keys.push_back(segment.exactKey);
}

uint32_t Position(std::size_t position) {
    // Four thousand million units would not fit in any memory this engine runs in.
    if (position >= UINT32_MAX) RaiseEngineError(L"The translation memory has too many units");
    return static_cast<uint32_t>(position);
}

bool SameStored(const StoredSegment& a, const StoredSegment& b) {
    return a.exactKey == b.exactKey && a.normalised == b.normalised &&
           std::equal(a.codeKinds.begin(), a.codeKinds.end(), b.codeKinds.begin(),
                      b.codeKinds.end());
}

// What the builder keeps of each entry's unit to tell whether its source has more than one
// translation: the hashes of its translations' normalised texts and, with substitution on,
// of its source's as written. Two different texts share a 64-bit hash with a chance far too
// small to matter.
struct EntryTranslations {
    std::vector<uint64_t> start{0};  // by entry, one more
    std::vector<uint64_t> hashes;
    std::vector<uint64_t> written;  // by entry, with substitution on only

    std::span<const uint64_t> Of(uint32_t entry) const {
        return std::span<const uint64_t>(hashes).subspan(start[entry],
                                                         start[entry + 1] - start[entry]);
    }
};

uint64_t TextHash(std::wstring_view text) {
    return Fnv1a64(std::string_view(reinterpret_cast<const char*>(text.data()),
                                    text.size() * sizeof(wchar_t)));
}

// TextHash(NormalisedText(segment)), without normalising a text that is already normalised,
// as most translations are: no code, single spaces between words and no other whitespace,
// and only characters below U+0300, which are all in NFC whatever follows them.
uint64_t NormalisedTextHash(const Segment& segment) {
    const std::wstring& text = segment.text;
    bool normalised =
        segment.codes.empty() && !text.empty() && text.front() != L' ' && text.back() != L' ';
    for (std::size_t i = 0; normalised && i < text.size(); ++i) {
        const wchar_t c = text[i];
        normalised = c < 0x300 && !(c >= 0x09 && c <= 0x0D) && c != 0x85 && c != 0xA0 &&
                     !(c == L' ' && i > 0 && text[i - 1] == L' ');
    }
    return normalised ? TextHash(text) : TextHash(NormalisedText(segment));
}

// Marks the entries whose source text has more than one distinct translation into the
// target language, counting every unit with that source text.
void MarkMultipleTranslations(const TmIndex::Data& data, const EntryTranslations& translations,
                              std::vector<uint8_t>& multiple) {
    multiple.assign(data.Entries(), 0);
    const auto& exact = data.exact;
    std::vector<bool> done;
    std::vector<uint32_t> same;
    std::vector<uint64_t> all;
    for (std::size_t from = 0; from < exact.size();) {
        std::size_t to = from;
        while (to < exact.size() && exact[to].key == exact[from].key) ++to;
        // Most sources of a memory are there once, with one translation.
        if (to - from == 1 && translations.Of(exact[from].position).size() < 2) {
            from = to;
            continue;
        }
        done.assign(to - from, false);
        for (std::size_t i = from; i < to; ++i) {
            if (done[i - from]) continue;
            same.clear();
            const StoredSegment first = data.Entry(exact[i].position);
            for (std::size_t j = i; j < to; ++j) {
                if (done[j - from]) continue;
                if (!SameStored(data.Entry(exact[j].position), first)) continue;
                // "3 times" and "4 times" are two texts, however alike they score.
                if (data.substitution && translations.written[exact[i].position] !=
                                             translations.written[exact[j].position])
                    continue;
                done[j - from] = true;
                same.push_back(exact[j].position);
            }
            all.clear();
            for (uint32_t entry : same)
                for (uint64_t hash : translations.Of(entry)) all.push_back(hash);
            std::sort(all.begin(), all.end());
            if (std::unique(all.begin(), all.end()) - all.begin() < 2) continue;
            for (uint32_t entry : same) multiple[entry] = 1;
        }
        from = to;
    }
}

constexpr std::size_t kSignatureBits = 64, kMostLevels = 8;

// An entry's distinct tokens with how often it has each, by id.
void DistinctTokens(std::span<const uint32_t> folded, std::vector<uint32_t>& ids,
                    std::vector<std::pair<uint32_t, uint32_t>>& distinct) {
    ids.assign(folded.begin(), folded.end());
    std::sort(ids.begin(), ids.end());
    distinct.clear();
    for (std::size_t i = 0; i < ids.size();) {
        std::size_t j = i;
        while (j < ids.size() && ids[j] == ids[i]) ++j;
        distinct.emplace_back(ids[i], static_cast<uint32_t>(j - i));
        i = j;
    }
}

// Runs fn(part, worker, entry, distinct) for every entry, with its distinct tokens, on
// `workers` threads; part p of `workers` is the p-th run of entries in TM order.
template <class Fn>
void ForEachEntryInParallel(const TmIndex::Data& data, unsigned workers, Fn&& fn) {
    const std::size_t entries = data.Entries();
    ParallelFor(workers, workers, [&](std::size_t part, unsigned worker) {
        std::vector<uint32_t> ids;
        std::vector<std::pair<uint32_t, uint32_t>> distinct;
        const std::size_t from = entries * part / workers, to = entries * (part + 1) / workers;
        for (std::size_t e = from; e < to; ++e) {
            const auto entry = static_cast<uint32_t>(e);
            DistinctTokens(data.FoldedOf(entry), ids, distinct);
            fn(part, worker, entry, distinct);
        }
    });
}

// How many entries of each worker's part have each token (ForEachEntryInParallel).
std::vector<std::vector<uint32_t>> ListSizesByPart(const TmIndex::Data& data, unsigned workers) {
    std::vector<std::vector<uint32_t>> counted(workers,
                                               std::vector<uint32_t>(data.Vocabulary(), 0));
    ForEachEntryInParallel(data, workers,
                           [&](std::size_t part, unsigned, uint32_t, const auto& distinct) {
                               for (auto [id, count] : distinct) ++counted[part][id];
                           });
    return counted;
}

// Bits 0 to 63 go to the (token, occurrences) pairs that most entries reach ("the" at least
// twice), each token's from its first occurrence on; the other tokens get bits 64 to 127 by
// a hash. Only a token among the 64 in most entries can have a pair among the 64 most reached.
void AssignSignatureBits(const TmIndex::Data& data, unsigned workers,
                         std::vector<TokenBits>& signatureBits,
                         const std::vector<uint32_t>& listSize) {
    const std::size_t vocabulary = listSize.size();
    signatureBits.assign(vocabulary, TokenBits{});
    for (std::size_t id = 0; id < vocabulary; ++id)
        signatureBits[id].first =
            static_cast<uint8_t>(kSignatureBits + ((id * uint64_t{0x9E3779B97F4A7C15}) >> 58));
    std::vector<uint32_t> ids(vocabulary);
    for (std::size_t id = 0; id < vocabulary; ++id) ids[id] = static_cast<uint32_t>(id);
    const std::size_t common = std::min(kSignatureBits, vocabulary);
    std::partial_sort(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(common), ids.end(),
                      [&](uint32_t a, uint32_t b) {
                          return listSize[a] != listSize[b] ? listSize[a] > listSize[b] : a < b;
                      });
    std::vector<uint32_t> slot(vocabulary, UINT32_MAX);
    for (std::size_t rank = 0; rank < common; ++rank) slot[ids[rank]] = static_cast<uint32_t>(rank);
    // reached[slot][level]: the entries with more than `level` occurrences of the token.
    using Reached = std::vector<std::array<uint32_t, kMostLevels>>;
    std::vector<Reached> counted(workers, Reached(common, std::array<uint32_t, kMostLevels>{}));
    ForEachEntryInParallel(
        data, workers, [&](std::size_t, unsigned worker, uint32_t, const auto& distinct) {
            for (auto [id, count] : distinct)
                if (slot[id] != UINT32_MAX)
                    for (uint32_t level = 0; level < count && level < kMostLevels; ++level)
                        ++counted[worker][slot[id]][level];
        });
    Reached& reached = counted[0];
    for (unsigned worker = 1; worker < workers; ++worker)
        for (std::size_t rank = 0; rank < common; ++rank)
            for (std::size_t level = 0; level < kMostLevels; ++level)
                reached[rank][level] += counted[worker][rank][level];
    struct Pair {
        uint32_t entries, id, level;
    };
    std::vector<Pair> pairs;
    for (std::size_t rank = 0; rank < common; ++rank)
        for (uint32_t level = 0; level < kMostLevels && reached[rank][level] > 0; ++level)
            pairs.push_back({reached[rank][level], ids[rank], level});
    // A token's later levels are reached by no more entries than its earlier ones, and come
    // after them on a tie, so each token's chosen levels run from its first.
    const std::size_t chosen = std::min(kSignatureBits, pairs.size());
    std::partial_sort(pairs.begin(), pairs.begin() + static_cast<std::ptrdiff_t>(chosen),
                      pairs.end(), [](const Pair& a, const Pair& b) {
                          if (a.entries != b.entries) return a.entries > b.entries;
                          return a.id != b.id ? a.id < b.id : a.level < b.level;
                      });
    for (std::size_t i = 0; i < chosen; ++i) ++signatureBits[pairs[i].id].levels;
    uint8_t next = 0;
    for (std::size_t rank = 0; rank < common; ++rank) {
        TokenBits& bits = signatureBits[ids[rank]];
        if (bits.levels == 0) continue;
        bits.first = next;
        next = static_cast<uint8_t>(next + bits.levels);
    }
}

// Each entry's distinct tokens are found again in every pass over the entries rather than
// kept between them: kept, they would take as much memory as half the postings.
void BuildPostings(const TmIndex::Data& data, BuiltArrays& arrays, unsigned workers) {
    const std::size_t vocabulary = data.Vocabulary(), entries = data.Entries();
    // Each part of the entries fills its own stretch of every list, so that a list holds its
    // entries in TM order whichever thread gets there first.
    std::vector<std::vector<uint32_t>> next = ListSizesByPart(data, workers);
    std::vector<uint32_t> listSize(vocabulary, 0);
    for (const auto& part : next)
        for (std::size_t id = 0; id < vocabulary; ++id) listSize[id] += part[id];
    auto& postingStart = arrays.postingStart;
    postingStart.assign(vocabulary + 1, 0);
    for (std::size_t id = 0; id < vocabulary; ++id)
        postingStart[id + 1] = postingStart[id] + listSize[id];
    std::vector<std::vector<uint64_t>> fill(workers, std::vector<uint64_t>(vocabulary));
    for (std::size_t id = 0; id < vocabulary; ++id) {
        uint64_t at = postingStart[id];
        for (unsigned part = 0; part < workers; ++part) {
            fill[part][id] = at;
            at += next[part][id];
        }
    }
    next = {};
    AssignSignatureBits(data, workers, arrays.signatureBits, listSize);
    auto& postings = arrays.postings;
    postings.resize(postingStart[vocabulary]);
    auto& signatures = arrays.entrySignatures;
    signatures.assign(entries, Signature{});
    const auto rarer = [&](const std::pair<uint32_t, uint32_t>& a,
                           const std::pair<uint32_t, uint32_t>& b) {
        return listSize[a.first] != listSize[b.first] ? listSize[a.first] < listSize[b.first]
                                                      : a.first < b.first;
    };
    ForEachEntryInParallel(data, workers,
                           [&](std::size_t part, unsigned, uint32_t e, auto& distinct) {
                               uint32_t length = 0;
                               for (auto [id, count] : distinct) {
                                   signatures[e].Add(arrays.signatureBits[id], count);
                                   length += count;
                               }
                               std::sort(distinct.begin(), distinct.end(), rarer);
                               uint32_t rank = 0;
                               for (auto [id, count] : distinct) {
                                   postings[fill[part][id]++] = Posting{e, length, rank};
                                   rank += count;
                               }
                           });
    // Each list is its own: the threads share them out.
    ParallelFor(vocabulary, workers, [&](std::size_t id, unsigned) {
        std::stable_sort(postings.begin() + static_cast<std::ptrdiff_t>(postingStart[id]),
                         postings.begin() + static_cast<std::ptrdiff_t>(postingStart[id + 1]),
                         [](const Posting& a, const Posting& b) {
                             return a.length != b.length ? a.length < b.length : a.rank < b.rank;
                         });
    });
}

}  // namespace

PreparedSegment PrepareQuery(const TmIndex::Data& data, const Segment& segment,
                             const TokenizedSegment& tokenized) {
    std::unordered_map<std::wstring, uint32_t> newFolded, newOriginal;
    std::string utf8;
    auto lookup = [&utf8](std::optional<uint32_t> known, std::size_t knownCount,
                          std::unordered_map<std::wstring, uint32_t>& fresh,
                          const std::wstring& text) {
        if (known) return *known;
        return fresh.try_emplace(text, static_cast<uint32_t>(knownCount + fresh.size()))
            .first->second;
    };
    return Prepare(
        segment, tokenized,
        [&](const std::wstring& text) {
            utf8.clear();
            AppendAsUtf8(utf8, text);
            return lookup(data.FoldedId(utf8), data.Vocabulary(), newFolded, text);
        },
        [&](const Token& token, uint32_t) {
            utf8.clear();
            AppendAsUtf8(utf8, token.text);
            return lookup(data.OriginalId(utf8), data.OriginalVocabulary(), newOriginal,
                          token.text);
        });
}

struct TmIndexBuilder::State {
    std::unique_ptr<TmIndex::Data> data = std::make_unique<TmIndex::Data>();
    std::shared_ptr<BuiltArrays> built = std::make_shared<BuiltArrays>();
    StopCheck stop;
    unsigned workers = 1;
    std::size_t added = 0;  // units added so far: the TM position of the next
    // Each thread tokenises with ids of its own; they are made common as a block joins the
    // arrays, in TM order.
    std::vector<TokenVocabulary> local;
    std::vector<std::vector<uint32_t>> commonFolded, commonOriginal;
    CommonVocabulary folded, original;
    EntryTranslations translations;

    // The block being added, kept between blocks for their capacity.
    struct Tokenised {
        PreparedSegment prepared;
        std::vector<uint64_t> translations;
        uint64_t written = 0;
        unsigned worker = 0;
    };
    std::vector<std::size_t> matchable, relayOnly;  // positions in the block
    std::vector<Tokenised> block;

    void StopIfAsked() const {
        if (stop && stop()) throw LoadCancelled{};
    }
    void AddBlock(std::span<const TranslationUnit> units);
    void AddRelay(const TranslationUnit& unit, std::size_t position);
};

void TmIndexBuilder::State::AddBlock(std::span<const TranslationUnit> units) {
    TmIndex::Data& d = *data;
    BuiltArrays& arrays = *built;
    matchable.clear();
    relayOnly.clear();
    for (std::size_t u = 0; u < units.size(); ++u) {
        bool target = false, other = false;
        for (const Variant& variant : units[u].targets) {
            if (IsBlank(variant.segment)) continue;
            (SameLanguageTag(variant.language, d.targetLanguage) ? target : other) = true;
        }
        if (target)
            matchable.push_back(u);
        else if (other)
            relayOnly.push_back(u);
    }
    block.resize(matchable.size());
    ParallelFor(matchable.size(), workers, [&](std::size_t i, unsigned worker) {
        const TranslationUnit& unit = units[matchable[i]];
        std::optional<Segment> substituted;  // a copy only when it differs
        if (d.substitution) substituted = d.substitution->Apply(unit.source);
        const Segment& source = substituted ? *substituted : unit.source;
        TokenVocabulary& vocabulary = local[worker];
        Tokenised& tokenised = block[i];
        // One vocabulary for both while tokenising: a token written as it folds is asked
        // for once.
        tokenised.prepared = Prepare(
            source, Tokenize(source),
            [&](const std::wstring& text) { return vocabulary.Intern(text); },
            [&](const Token& token, uint32_t foldedId) {
                return token.text == token.folded ? foldedId : vocabulary.Intern(token.text);
            });
        tokenised.translations.clear();
        for (const Variant& variant : unit.targets)
            if (SameLanguageTag(variant.language, d.targetLanguage) && !IsBlank(variant.segment))
                tokenised.translations.push_back(NormalisedTextHash(variant.segment));
        if (d.substitution) tokenised.written = NormalisedTextHash(unit.source);
        tokenised.worker = worker;
        StopIfAsked();
    });
    std::size_t relay = 0;
    for (std::size_t i = 0; i < matchable.size(); ++i) {
        // The relays before it, so that both keep TM order.
        for (; relay < relayOnly.size() && relayOnly[relay] < matchable[i]; ++relay)
            AddRelay(units[relayOnly[relay]], added + relayOnly[relay]);
        Tokenised& tokenised = block[i];
        PreparedSegment& entry = tokenised.prepared;
        const unsigned worker = tokenised.worker;
        folded.Renumber(entry.folded, local[worker], commonFolded[worker]);
        folded.Renumber(entry.placeables, local[worker], commonFolded[worker]);
        std::sort(entry.placeables.begin(), entry.placeables.end());
        original.Renumber(entry.original, local[worker], commonOriginal[worker]);
        const uint32_t e = Position(arrays.entryKeys.size());
        AppendSegment(entry, arrays.entryTextStart, arrays.entryText, arrays.entryCodeStart,
                      arrays.entryCodeKinds, arrays.entryKeys);
        arrays.entryUnits.push_back(Position(added + matchable[i]));
        if (entry.folded.empty()) arrays.empty.push_back(e);
        arrays.foldedTokens.insert(arrays.foldedTokens.end(), entry.folded.begin(),
                                   entry.folded.end());
        arrays.originalTokens.insert(arrays.originalTokens.end(), entry.original.begin(),
                                     entry.original.end());
        arrays.tokenStart.push_back(arrays.foldedTokens.size());
        arrays.placeables.insert(arrays.placeables.end(), entry.placeables.begin(),
                                 entry.placeables.end());
        arrays.placeableStart.push_back(arrays.placeables.size());
        translations.hashes.insert(translations.hashes.end(), tokenised.translations.begin(),
                                   tokenised.translations.end());
        translations.start.push_back(translations.hashes.size());
        if (d.substitution) translations.written.push_back(tokenised.written);
    }
    for (; relay < relayOnly.size(); ++relay)
        AddRelay(units[relayOnly[relay]], added + relayOnly[relay]);
    added += units.size();
    StopIfAsked();
}

void TmIndexBuilder::State::AddRelay(const TranslationUnit& unit, std::size_t position) {
    BuiltArrays& arrays = *built;
    const Segment source = data->Substituted(unit.source);
    const PreparedSegment relay = Untokenized(source, NormalisedText(source));
    const uint32_t r = Position(arrays.relayKeys.size());
    AppendSegment(relay, arrays.relayTextStart, arrays.relayText, arrays.relayCodeStart,
                  arrays.relayCodeKinds, arrays.relayKeys);
    arrays.relayUnits.push_back(Position(position));
    arrays.relayExact.push_back(ExactRef{relay.exactKey, r});
}

TmIndexBuilder::TmIndexBuilder(const std::wstring& targetLanguage, unsigned threads,
                               const StopCheck& stop, const SubstitutionOptions& substitution)
    : state_(std::make_unique<State>()) {
    State& state = *state_;
    state.data->targetLanguage = targetLanguage;
    if (substitution.Any())
        state.data->substitution = std::make_shared<const Substitution>(substitution);
    state.stop = stop;
    state.workers = WorkerCount(threads, SIZE_MAX);
    state.local.resize(state.workers);
    state.commonFolded.resize(state.workers);
    state.commonOriginal.resize(state.workers);
    state.built->tokenStart.assign(1, 0);
    state.built->placeableStart.assign(1, 0);
}

TmIndexBuilder::~TmIndexBuilder() = default;

void TmIndexBuilder::Add(std::span<const TranslationUnit> units) {
    if (!state_->data) throw std::logic_error("TmIndexBuilder::Add after Finish");
    for (std::size_t from = 0; from < units.size(); from += kUnitsPerBlock)
        state_->AddBlock(units.subspan(from, std::min(kUnitsPerBlock, units.size() - from)));
}

TmIndex TmIndexBuilder::Finish() {
    if (!state_->data) throw std::logic_error("TmIndexBuilder::Finish twice");
    State& state = *state_;
    TmIndex::Data& data = *state.data;
    BuiltArrays& arrays = *state.built;
    state.block = {};
    if (arrays.entryTextStart.empty()) arrays.entryTextStart.assign(1, 0);
    if (arrays.entryCodeStart.empty()) arrays.entryCodeStart.assign(1, 0);
    StoreVocabulary(state.folded.texts, arrays.foldedStart, arrays.foldedText, arrays.foldedSlots);
    StoreVocabulary(state.original.texts, arrays.originalStart, arrays.originalText,
                    arrays.originalSlots);
    state.folded = {};
    state.original = {};
    state.local = {};

    for (uint32_t e = 0; e < arrays.entryKeys.size(); ++e)
        arrays.exact.push_back(ExactRef{arrays.entryKeys[e], e});
    std::sort(arrays.exact.begin(), arrays.exact.end());
    Seal(data, arrays);
    MarkMultipleTranslations(data, state.translations, arrays.entryMultiple);
    state.translations = {};
    state.StopIfAsked();
    Seal(data, arrays);
    BuildPostings(data, arrays, state.workers);
    state.StopIfAsked();

    if (arrays.relayTextStart.empty()) arrays.relayTextStart.assign(1, 0);
    if (arrays.relayCodeStart.empty()) arrays.relayCodeStart.assign(1, 0);
    std::sort(arrays.relayExact.begin(), arrays.relayExact.end());
    Seal(data, arrays);
    data.storage = std::move(state.built);
    return TmIndex(std::move(state.data));
}

TmIndex::TmIndex(const TranslationMemory& tm, const std::wstring& targetLanguage, unsigned threads,
                 const StopCheck& stop, const SubstitutionOptions& substitution) {
    TmIndexBuilder builder(targetLanguage, threads, stop, substitution);
    builder.Add(tm.units);
    *this = builder.Finish();
}

TmIndex::TmIndex(std::unique_ptr<Data> data) : data_(std::move(data)) {}
TmIndex::~TmIndex() = default;
TmIndex::TmIndex(TmIndex&&) noexcept = default;
TmIndex& TmIndex::operator=(TmIndex&&) noexcept = default;

const std::wstring& TmIndex::targetLanguage() const {
    return data_->targetLanguage;
}
std::size_t TmIndex::matchableUnits() const {
    return data_->Entries();
}

}  // namespace orv::engine
