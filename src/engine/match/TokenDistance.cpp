#include "engine/match/TokenDistance.h"

#include <algorithm>
#include <cassert>

namespace orv::engine {

void TokenPattern::Assign(std::span<const uint32_t> pattern, std::size_t alphabetSize) {
    for (uint32_t id : assigned_) row_[id] = 0;
    assigned_.clear();
    if (row_.size() < alphabetSize) row_.resize(alphabetSize, 0);
    length_ = pattern.size();
    blocks_ = (length_ + 63) / 64;
    masks_.assign(blocks_, 0);  // row 0
    for (std::size_t i = 0; i < length_; ++i) {
        uint32_t id = pattern[i];
        if (id >= alphabetSize) continue;
        if (row_[id] == 0) {
            row_[id] = static_cast<uint32_t>(masks_.size() / blocks_);
            masks_.resize(masks_.size() + blocks_, 0);
            assigned_.push_back(id);
        }
        masks_[row_[id] * blocks_ + i / 64] |= uint64_t{1} << (i % 64);
    }
    positive_.resize(blocks_);
    negative_.resize(blocks_);
}

uint32_t TokenPattern::Distance(std::span<const uint32_t> text, uint32_t limit) const {
    const std::size_t n = length_, m = text.size();
    const std::size_t over = std::size_t{limit} + 1;
    if ((n > m ? n - m : m - n) > limit) return static_cast<uint32_t>(over);
    if (n == 0 || m == 0) return static_cast<uint32_t>(std::max(n, m));

    // score is D[n][j], the distance between the whole pattern and the text's first j
    // tokens; each further token lowers it by at most one.
    auto hopeless = [&](std::size_t score, std::size_t j) { return score > limit + (m - j); };
    const uint64_t last = uint64_t{1} << ((n - 1) % 64);
    std::size_t score = n;

    if (blocks_ == 1) {
        uint64_t pv = ~uint64_t{0}, mv = 0;
        for (std::size_t j = 0; j < m;) {
            assert(text[j] < row_.size());
            const uint64_t eq = masks_[row_[text[j]]];
            const uint64_t xv = eq | mv;
            const uint64_t xh = (((eq & pv) + pv) ^ pv) | eq;
            uint64_t ph = mv | ~(xh | pv);
            uint64_t mh = pv & xh;
            if (ph & last)
                ++score;
            else if (mh & last)
                --score;
            ph = (ph << 1) | 1;  // the top row grows by one every column
            mh <<= 1;
            pv = mh | ~(xv | ph);
            mv = ph & xv;
            if (hopeless(score, ++j)) return static_cast<uint32_t>(over);
        }
        return static_cast<uint32_t>(score);
    }

    std::fill(positive_.begin(), positive_.end(), ~uint64_t{0});
    std::fill(negative_.begin(), negative_.end(), 0);
    constexpr uint64_t kHigh = uint64_t{1} << 63;
    for (std::size_t j = 0; j < m;) {
        assert(text[j] < row_.size());
        const uint64_t* eqs = &masks_[row_[text[j]] * blocks_];
        int carry = 1;  // horizontal delta entering the block from above
        for (std::size_t b = 0; b < blocks_; ++b) {
            const uint64_t pv = positive_[b], mv = negative_[b];
            uint64_t eq = eqs[b];
            const uint64_t xv = eq | mv;
            if (carry < 0) eq |= 1;
            const uint64_t xh = (((eq & pv) + pv) ^ pv) | eq;
            uint64_t ph = mv | ~(xh | pv);
            uint64_t mh = pv & xh;
            const uint64_t high = b + 1 == blocks_ ? last : kHigh;
            const int out = (ph & high) ? 1 : (mh & high) ? -1 : 0;
            ph <<= 1;
            mh <<= 1;
            if (carry < 0)
                mh |= 1;
            else if (carry > 0)
                ph |= 1;
            positive_[b] = mh | ~(xv | ph);
            negative_[b] = ph & xv;
            carry = out;
        }
        score = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(score) + carry);
        if (hopeless(score, ++j)) return static_cast<uint32_t>(over);
    }
    return static_cast<uint32_t>(score);
}

}  // namespace orv::engine
