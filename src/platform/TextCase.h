#pragma once
// The one case rule of the component for keys and document paths: two texts are equal
// "without regard to letter case" when their simple Unicode case foldings are equal.

#include <string>

namespace orv {

// Simple (length-keeping) Unicode case folding of every character.
std::wstring FoldCase(const std::wstring& text);

inline bool EqualsIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && FoldCase(a) == FoldCase(b);
}

}  // namespace orv
