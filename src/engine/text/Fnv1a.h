#pragma once
// The 64-bit FNV-1a hash of bytes: quick on short texts, for tables and names that only this
// engine reads back.

#include <cstdint>
#include <string_view>

namespace orv::engine {

inline uint64_t Fnv1a64(std::string_view bytes) {
    uint64_t hash = 0xcbf29ce484222325u;
    for (char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3u;
    }
    return hash;
}

}  // namespace orv::engine
