#pragma once
// Token texts numbered in the order they are first met, while an index is built: an open
// addressing table over one block of text. A memory of a million units asks it tens of
// millions of times, where a node per token would cost a heap object and a cache miss each.
// Not for several threads at once: each tokenising thread has its own.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orv::engine {

class TokenVocabulary {
public:
    // The id of `text`, a new one (the count so far) when it is not known yet.
    uint32_t Intern(std::wstring_view text);

    std::wstring_view Text(uint32_t id) const {
        return std::wstring_view(text_).substr(end_[id] - Length(id), Length(id));
    }
    std::size_t size() const { return end_.size(); }

private:
    std::size_t Length(uint32_t id) const { return end_[id] - (id == 0 ? 0 : end_[id - 1]); }
    void Grow();

    std::wstring text_;             // every text, one after another
    std::vector<std::size_t> end_;  // where each id's text ends
    std::vector<uint64_t> hashes_;  // by id
    std::vector<uint32_t> slots_;   // id + 1, 0: free; a power of two, at most half full
};

}  // namespace orv::engine
