#include "engine/match/TokenVocabulary.h"

namespace orv::engine {

namespace {

uint64_t HashOf(std::wstring_view text) {
    uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a over whole code units
    for (wchar_t c : text) {
        hash ^= static_cast<uint64_t>(c);
        hash *= 0x100000001b3u;
    }
    return hash ^ (hash >> 29);  // the table takes the low bits
}

}  // namespace

uint32_t TokenVocabulary::Intern(std::wstring_view text) {
    if (2 * (end_.size() + 1) > slots_.size()) Grow();
    const uint64_t hash = HashOf(text);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t at = hash & mask;; at = (at + 1) & mask) {
        const uint32_t slot = slots_[at];
        if (slot == 0) {
            const auto id = static_cast<uint32_t>(end_.size());
            text_.append(text);
            end_.push_back(text_.size());
            hashes_.push_back(hash);
            slots_[at] = id + 1;
            return id;
        }
        if (hashes_[slot - 1] == hash && Text(slot - 1) == text) return slot - 1;
    }
}

void TokenVocabulary::Grow() {
    slots_.assign(slots_.empty() ? 64 : 2 * slots_.size(), 0);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t id = 0; id < hashes_.size(); ++id) {
        std::size_t at = hashes_[id] & mask;
        while (slots_[at] != 0) at = (at + 1) & mask;
        slots_[at] = static_cast<uint32_t>(id + 1);
    }
}

}  // namespace orv::engine
