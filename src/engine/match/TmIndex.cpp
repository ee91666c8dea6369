#include "engine/match/TmIndex.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <set>
#include <string_view>

#include <unicode/uchar.h>

#include "engine/match/ParallelFor.h"
#include "engine/match/TmIndexData.h"

namespace orv::engine {

namespace {

wchar_t LanguageChar(wchar_t c) {
    if (c == L'_') return L'-';
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameLanguage(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](wchar_t x, wchar_t y) { return LanguageChar(x) == LanguageChar(y); });
}

bool IsBlank(const Segment& segment) {
    return std::all_of(segment.text.begin(), segment.text.end(),
                       [](wchar_t c) { return u_isUWhiteSpace(static_cast<UChar32>(c)); });
}

uint64_t ExactKey(const std::wstring& normalised, const std::vector<InlineCode::Kind>& kinds) {
    uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    auto add = [&](uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            hash ^= (value >> shift) & 0xFF;
            hash *= 0x100000001b3u;
        }
    };
    for (wchar_t c : normalised) add(static_cast<uint32_t>(c));
    add(0xFFFFFFFFu);  // no character has this value: the text ends here
    for (InlineCode::Kind kind : kinds) add(static_cast<uint32_t>(kind));
    return hash;
}

bool IsPlaceable(Token::Kind kind) {
    return kind == Token::Kind::Number || kind == Token::Kind::Url || kind == Token::Kind::Email ||
           kind == Token::Kind::Placeholder;
}

template <class FoldedId, class OriginalId>
PreparedSegment Prepare(const Segment& segment, const TokenizedSegment& tokenized,
                        FoldedId&& foldedId, OriginalId&& originalId) {
    PreparedSegment prepared;
    prepared.normalised = tokenized.normalised;
    prepared.codeKinds = FormattingCodeKinds(segment);
    for (const Token& token : tokenized.tokens) {
        if (token.kind == Token::Kind::Code) continue;
        uint32_t id = foldedId(token.folded);
        prepared.folded.push_back(id);
        prepared.original.push_back(originalId(token.text));
        if (IsPlaceable(token.kind) || IsSubstitutionMark(token.text))
            prepared.placeables.push_back(id);
    }
    std::sort(prepared.placeables.begin(), prepared.placeables.end());
    prepared.exactKey = ExactKey(prepared.normalised, prepared.codeKinds);
    return prepared;
}

uint32_t Intern(std::unordered_map<std::wstring, uint32_t>& ids, const std::wstring& text) {
    return ids.try_emplace(text, static_cast<uint32_t>(ids.size())).first->second;
}

struct Vocabulary {
    std::unordered_map<std::wstring, uint32_t> folded;
    std::unordered_map<std::wstring, uint32_t> original;
};

// The ids that one thread gave, turned into the common ones.
struct Renumbering {
    std::vector<std::wstring_view> text;  // by the thread's id
    std::vector<uint32_t> common;         // by the thread's id; UINT32_MAX until known

    explicit Renumbering(const std::unordered_map<std::wstring, uint32_t>& ids)
        : text(ids.size()), common(ids.size(), UINT32_MAX) {
        for (const auto& [key, id] : ids) text[id] = key;
    }

    void Apply(std::vector<uint32_t>& ids,
               std::unordered_map<std::wstring_view, uint32_t>& commonIds) {
        for (uint32_t& id : ids) {
            uint32_t& mapped = common[id];
            if (mapped == UINT32_MAX)
                mapped = commonIds.try_emplace(text[id], static_cast<uint32_t>(commonIds.size()))
                             .first->second;
            id = mapped;
        }
    }
};

void MakeIdsCommon(TmIndex::Data& data, const std::vector<Vocabulary>& vocabularies,
                   const std::vector<unsigned>& tokenisedBy) {
    std::vector<Renumbering> folded, original;
    for (const Vocabulary& vocabulary : vocabularies) {
        folded.emplace_back(vocabulary.folded);
        original.emplace_back(vocabulary.original);
    }
    std::unordered_map<std::wstring_view, uint32_t> foldedIds, originalIds;
    for (std::size_t e = 0; e < data.entries.size(); ++e) {
        PreparedSegment& entry = data.entries[e];
        folded[tokenisedBy[e]].Apply(entry.folded, foldedIds);
        folded[tokenisedBy[e]].Apply(entry.placeables, foldedIds);
        std::sort(entry.placeables.begin(), entry.placeables.end());
        original[tokenisedBy[e]].Apply(entry.original, originalIds);
    }
    data.foldedIds.reserve(foldedIds.size());
    for (auto [text, id] : foldedIds) data.foldedIds.emplace(text, id);
    data.originalIds.reserve(originalIds.size());
    for (auto [text, id] : originalIds) data.originalIds.emplace(text, id);
}

// Marks the entries whose source text has more than one distinct translation into the
// target language, counting every unit with that source text.
void MarkMultipleTranslations(TmIndex::Data& data, const TranslationMemory& tm) {
    data.multipleTranslations.assign(data.entries.size(), false);
    auto translations = [&](uint32_t entry) {
        std::vector<const Segment*> found;
        for (const Variant& variant : tm.units[data.entryUnit[entry]].targets)
            if (SameLanguage(variant.language, data.targetLanguage) && !IsBlank(variant.segment))
                found.push_back(&variant.segment);
        return found;
    };
    auto SameWritten = [&](uint32_t a, uint32_t b) {
        return NormalisedText(tm.units[data.entryUnit[a]].source) ==
               NormalisedText(tm.units[data.entryUnit[b]].source);
    };
    for (std::size_t from = 0; from < data.exact.size();) {
        std::size_t to = from;
        while (to < data.exact.size() && data.exact[to].first == data.exact[from].first) ++to;
        std::vector<bool> done(to - from, false);
        for (std::size_t i = from; i < to; ++i) {
            if (done[i - from]) continue;
            std::vector<uint32_t> same;
            for (std::size_t j = i; j < to; ++j) {
                if (done[j - from]) continue;
                if (!data.entries[data.exact[j].second].SameAs(data.entries[data.exact[i].second]))
                    continue;
                // "3 times" and "4 times" are two texts, however alike they score.
                if (data.substitution && !SameWritten(data.exact[i].second, data.exact[j].second))
                    continue;
                done[j - from] = true;
                same.push_back(data.exact[j].second);
            }
            std::vector<const Segment*> all;
            for (uint32_t entry : same)
                for (const Segment* target : translations(entry)) all.push_back(target);
            if (all.size() < 2) continue;
            std::set<std::wstring> distinct;
            for (const Segment* target : all) distinct.insert(NormalisedText(*target));
            if (distinct.size() < 2) continue;
            for (uint32_t entry : same) data.multipleTranslations[entry] = true;
        }
        from = to;
    }
}

// Bits 0 to 63 go to the (token, occurrences) pairs that most entries reach ("the" at least
// twice), each token's from its first occurrence on; the other tokens get bits 64 to 127 by
// a hash. Only a token among the 64 in most entries can have a pair among the 64 most reached.
void AssignSignatureBits(TmIndex::Data& data, const std::vector<uint32_t>& listSize,
                         const std::vector<std::vector<std::pair<uint32_t, uint32_t>>>& distinct) {
    constexpr std::size_t kBits = 64, kMostLevels = 8;
    const std::size_t vocabulary = listSize.size();
    data.signatureBits.resize(vocabulary);
    for (std::size_t id = 0; id < vocabulary; ++id)
        data.signatureBits[id].first =
            static_cast<uint8_t>(kBits + ((id * uint64_t{0x9E3779B97F4A7C15}) >> 58));
    std::vector<uint32_t> ids(vocabulary);
    for (std::size_t id = 0; id < vocabulary; ++id) ids[id] = static_cast<uint32_t>(id);
    const std::size_t common = std::min(kBits, vocabulary);
    std::partial_sort(ids.begin(), ids.begin() + static_cast<std::ptrdiff_t>(common), ids.end(),
                      [&](uint32_t a, uint32_t b) {
                          return listSize[a] != listSize[b] ? listSize[a] > listSize[b] : a < b;
                      });
    std::vector<uint32_t> slot(vocabulary, UINT32_MAX);
    for (std::size_t rank = 0; rank < common; ++rank) slot[ids[rank]] = static_cast<uint32_t>(rank);
    // reached[slot][level]: the entries with more than `level` occurrences of the token.
    std::vector<std::array<uint32_t, kMostLevels>> reached(common,
                                                           std::array<uint32_t, kMostLevels>{});
    for (const auto& tokens : distinct)
        for (auto [id, count] : tokens)
            if (slot[id] != UINT32_MAX)
                for (uint32_t level = 0; level < count && level < kMostLevels; ++level)
                    ++reached[slot[id]][level];
    struct Pair {
        uint32_t entries, id, level;
    };
    std::vector<Pair> pairs;
    for (std::size_t rank = 0; rank < common; ++rank)
        for (uint32_t level = 0; level < kMostLevels && reached[rank][level] > 0; ++level)
            pairs.push_back({reached[rank][level], ids[rank], level});
    // A token's later levels are reached by no more entries than its earlier ones, and come
    // after them on a tie, so each token's chosen levels run from its first.
    const std::size_t chosen = std::min(kBits, pairs.size());
    std::partial_sort(pairs.begin(), pairs.begin() + static_cast<std::ptrdiff_t>(chosen),
                      pairs.end(), [](const Pair& a, const Pair& b) {
                          if (a.entries != b.entries) return a.entries > b.entries;
                          return a.id != b.id ? a.id < b.id : a.level < b.level;
                      });
    for (std::size_t i = 0; i < chosen; ++i) ++data.signatureBits[pairs[i].id].levels;
    uint8_t next = 0;
    for (std::size_t rank = 0; rank < common; ++rank) {
        TokenBits& bits = data.signatureBits[ids[rank]];
        if (bits.levels == 0) continue;
        bits.first = next;
        next = static_cast<uint8_t>(next + bits.levels);
    }
}

void BuildPostings(TmIndex::Data& data) {
    const std::size_t vocabulary = data.Vocabulary();
    std::vector<std::vector<std::pair<uint32_t, uint32_t>>> distinct(data.entries.size());
    std::vector<uint32_t> listSize(vocabulary, 0);
    for (std::size_t e = 0; e < data.entries.size(); ++e) {
        std::vector<uint32_t> ids = data.entries[e].folded;
        std::sort(ids.begin(), ids.end());
        for (std::size_t i = 0; i < ids.size();) {
            std::size_t j = i;
            while (j < ids.size() && ids[j] == ids[i]) ++j;
            distinct[e].emplace_back(ids[i], static_cast<uint32_t>(j - i));
            ++listSize[ids[i]];
            i = j;
        }
    }
    data.postingStart.assign(vocabulary + 1, 0);
    for (std::size_t id = 0; id < vocabulary; ++id)
        data.postingStart[id + 1] = data.postingStart[id] + listSize[id];
    data.postings.resize(data.postingStart[vocabulary]);
    std::vector<uint32_t> fill(data.postingStart.begin(), data.postingStart.end() - 1);
    AssignSignatureBits(data, listSize, distinct);
    std::vector<Signature> signatures(data.entries.size());
    const auto rarer = [&](uint32_t a, uint32_t b) {
        return listSize[a] != listSize[b] ? listSize[a] < listSize[b] : a < b;
    };
    for (std::size_t e = 0; e < data.entries.size(); ++e) {
        for (auto [id, count] : distinct[e]) signatures[e].Add(data.signatureBits[id], count);
        auto length = static_cast<uint32_t>(data.entries[e].folded.size());
        std::sort(distinct[e].begin(), distinct[e].end(),
                  [&](const auto& a, const auto& b) { return rarer(a.first, b.first); });
        uint32_t rank = 0;
        for (auto [id, count] : distinct[e]) {
            data.postings[fill[id]++] = Posting{static_cast<uint32_t>(e), length, count, rank};
            rank += count;
        }
    }
    for (std::size_t id = 0; id < vocabulary; ++id)
        std::stable_sort(data.postings.begin() + data.postingStart[id],
                         data.postings.begin() + data.postingStart[id + 1],
                         [](const Posting& a, const Posting& b) {
                             return a.length != b.length ? a.length < b.length : a.rank < b.rank;
                         });
    data.postingSignatures.resize(data.postings.size());
    for (std::size_t p = 0; p < data.postings.size(); ++p)
        data.postingSignatures[p] = signatures[data.postings[p].entry];
}

}  // namespace

PreparedSegment PrepareQuery(const TmIndex::Data& data, const Segment& segment,
                             const TokenizedSegment& tokenized) {
    std::unordered_map<std::wstring, uint32_t> newFolded, newOriginal;
    auto lookup = [](const std::unordered_map<std::wstring, uint32_t>& known,
                     std::unordered_map<std::wstring, uint32_t>& fresh, const std::wstring& text) {
        auto found = known.find(text);
        if (found != known.end()) return found->second;
        return fresh.try_emplace(text, static_cast<uint32_t>(known.size() + fresh.size()))
            .first->second;
    };
    return Prepare(
        segment, tokenized,
        [&](const std::wstring& text) { return lookup(data.foldedIds, newFolded, text); },
        [&](const std::wstring& text) { return lookup(data.originalIds, newOriginal, text); });
}

TmIndex::TmIndex(const TranslationMemory& tm, const std::wstring& targetLanguage, unsigned threads,
                 const StopCheck& stop, const SubstitutionOptions& substitution)
    : data_(std::make_unique<Data>()) {
    const auto stopIfAsked = [&stop] {
        if (stop && stop()) throw LoadCancelled{};
    };
    Data& data = *data_;
    data.targetLanguage = targetLanguage;
    if (substitution.Any()) data.substitution = std::make_shared<const Substitution>(substitution);

    std::vector<std::size_t> matchable, relayOnly;
    for (std::size_t u = 0; u < tm.units.size(); ++u) {
        bool target = false, other = false;
        for (const Variant& variant : tm.units[u].targets) {
            if (IsBlank(variant.segment)) continue;
            (SameLanguage(variant.language, targetLanguage) ? target : other) = true;
        }
        if (target)
            matchable.push_back(u);
        else if (other)
            relayOnly.push_back(u);
    }

    // Each thread tokenises with ids of its own; the ids are then made common, numbered
    // by first occurrence in TM order.
    const unsigned workers = WorkerCount(threads, matchable.size());
    std::vector<Vocabulary> vocabularies(workers);
    std::vector<unsigned> tokenisedBy(matchable.size());
    data.entries.resize(matchable.size());
    ParallelFor(matchable.size(), workers, [&](std::size_t i, unsigned worker) {
        const Segment source = data.Substituted(tm.units[matchable[i]].source);
        Vocabulary& local = vocabularies[worker];
        data.entries[i] = Prepare(
            source, Tokenize(source),
            [&](const std::wstring& text) { return Intern(local.folded, text); },
            [&](const std::wstring& text) { return Intern(local.original, text); });
        tokenisedBy[i] = worker;
        stopIfAsked();
    });
    MakeIdsCommon(data, vocabularies, tokenisedBy);
    stopIfAsked();

    for (std::size_t i = 0; i < matchable.size(); ++i) {
        data.entryUnit.push_back(matchable[i]);
        if (data.entries[i].folded.empty()) data.empty.push_back(static_cast<uint32_t>(i));
        data.exact.emplace_back(data.entries[i].exactKey, static_cast<uint32_t>(i));
    }
    std::sort(data.exact.begin(), data.exact.end());
    MarkMultipleTranslations(data, tm);
    stopIfAsked();
    BuildPostings(data);
    stopIfAsked();

    for (std::size_t u : relayOnly) {
        PreparedSegment relay;
        const Segment source = data.Substituted(tm.units[u].source);
        relay.normalised = NormalisedText(source);
        relay.codeKinds = FormattingCodeKinds(source);
        relay.exactKey = ExactKey(relay.normalised, relay.codeKinds);
        data.relayExact.emplace_back(relay.exactKey, static_cast<uint32_t>(data.relays.size()));
        data.relays.push_back(std::move(relay));
        data.relayUnit.push_back(u);
    }
    std::sort(data.relayExact.begin(), data.relayExact.end());
}

TmIndex::~TmIndex() = default;
TmIndex::TmIndex(TmIndex&&) noexcept = default;
TmIndex& TmIndex::operator=(TmIndex&&) noexcept = default;

const std::wstring& TmIndex::targetLanguage() const {
    return data_->targetLanguage;
}
std::size_t TmIndex::matchableUnits() const {
    return data_->entries.size();
}

}  // namespace orv::engine
