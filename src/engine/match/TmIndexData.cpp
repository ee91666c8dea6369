#include "engine/match/TmIndexData.h"

#include <algorithm>
#include <unordered_map>

#include "engine/text/Fnv1a.h"

namespace orv::engine {

namespace {

// Each start array has one more element than its segments or tokens, begins at 0, never
// falls and ends at the end of the array it divides.
template <class T>
bool Divides(std::span<const uint64_t> start, std::span<const T> divided, std::size_t parts) {
    if (start.size() != parts + 1 || start.front() != 0 || start.back() != divided.size())
        return false;
    return std::is_sorted(start.begin(), start.end());
}

bool AllBelow(std::span<const uint32_t> ids, std::size_t limit) {
    return std::all_of(ids.begin(), ids.end(), [limit](uint32_t id) { return id < limit; });
}

bool KindsKnown(std::span<const uint8_t> kinds) {
    return std::all_of(kinds.begin(), kinds.end(), [](uint8_t kind) {
        return kind <= static_cast<uint8_t>(InlineCodeKind::Standalone);
    });
}

bool TableOf(std::span<const ExactRef> table, std::span<const uint64_t> keys) {
    if (table.size() != keys.size() || !std::is_sorted(table.begin(), table.end())) return false;
    return std::all_of(table.begin(), table.end(), [&](const ExactRef& ref) {
        return ref.position < keys.size() && keys[ref.position] == ref.key;
    });
}

bool VocabularyIsSound(std::span<const uint64_t> start, std::span<const char> text,
                       std::span<const uint32_t> slots) {
    if (start.empty()) return false;
    const std::size_t words = start.size() - 1;
    if (!Divides(start, text, words)) return false;
    // A power of two with at most a slot taken for each word, so that one is free and every
    // probe ends.
    if (slots.size() <= words || (slots.size() & (slots.size() - 1)) != 0) return false;
    std::size_t taken = 0;
    for (uint32_t slot : slots) {
        if (slot > words) return false;
        taken += slot != 0 ? 1 : 0;
    }
    return taken <= words;
}

}  // namespace

uint64_t VocabularyHash(std::string_view utf8) {
    const uint64_t hash = Fnv1a64(utf8);
    return hash ^ (hash >> 29);  // the table takes the low bits
}

std::optional<uint32_t> TmIndex::Data::Find(std::span<const uint64_t> start,
                                            std::span<const char> text,
                                            std::span<const uint32_t> slots,
                                            std::string_view utf8) {
    if (slots.empty()) return std::nullopt;
    const std::size_t mask = slots.size() - 1;
    for (std::size_t at = VocabularyHash(utf8) & mask; slots[at] != 0; at = (at + 1) & mask) {
        const uint32_t id = slots[at] - 1;
        if (std::string_view(text.data() + start[id], start[id + 1] - start[id]) == utf8) return id;
    }
    return std::nullopt;
}

bool IsSearchable(const TmIndex::Data& data) {
    if (!VocabularyIsSound(data.foldedStart, data.foldedText, data.foldedSlots) ||
        !VocabularyIsSound(data.originalStart, data.originalText, data.originalSlots))
        return false;
    const std::size_t entries = data.entryKeys.size(), relays = data.relayKeys.size();
    const std::size_t vocabulary = data.Vocabulary();
    if (!Divides(data.entryTextStart, data.entryText, entries) ||
        !Divides(data.entryCodeStart, data.entryCodeKinds, entries) ||
        !Divides(data.tokenStart, data.foldedTokens, entries) ||
        !Divides(data.placeableStart, data.placeables, entries) ||
        data.originalTokens.size() != data.foldedTokens.size() ||
        data.entryUnits.size() != entries || data.entryMultiple.size() != entries ||
        !KindsKnown(data.entryCodeKinds) || !TableOf(data.exact, data.entryKeys) ||
        !AllBelow(data.foldedTokens, vocabulary) ||
        !AllBelow(data.originalTokens, data.OriginalVocabulary()) ||
        !AllBelow(data.placeables, vocabulary) || !AllBelow(data.empty, entries))
        return false;
    if (!Divides(data.postingStart, data.postings, vocabulary) ||
        data.entrySignatures.size() != entries || data.signatureBits.size() != vocabulary ||
        !std::all_of(data.postings.begin(), data.postings.end(),
                     [entries](const Posting& p) { return p.entry < entries; }) ||
        !std::all_of(data.signatureBits.begin(), data.signatureBits.end(), [](TokenBits bits) {
            return bits.levels == 0 ? bits.first < 128 : bits.first + bits.levels <= 64;
        }))
        return false;
    return Divides(data.relayTextStart, data.relayText, relays) &&
           Divides(data.relayCodeStart, data.relayCodeKinds, relays) &&
           data.relayUnits.size() == relays && KindsKnown(data.relayCodeKinds) &&
           TableOf(data.relayExact, data.relayKeys);
}

}  // namespace orv::engine
