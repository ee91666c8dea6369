#pragma once
// Passwords do not linger in freed memory longer than needed: their buffers are zeroed before
// they go. The stores go through a volatile pointer, which no compiler may leave out as dead.

#include <cstddef>
#include <string>

namespace orv::cli {

inline void WipeSecret(void* data, std::size_t size) noexcept {
    volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = 0;
}

template <class Char>
void WipeSecret(std::basic_string<Char>& text) noexcept {
    WipeSecret(text.data(), text.size() * sizeof(Char));
    text.clear();
}

}  // namespace orv::cli
