#pragma once
// Code points over the code units of a string, for every unit type the component holds text
// in: char16_t (UTF-16), char32_t (UTF-32) and wchar_t, which is UTF-16 on Windows and
// UTF-32 on POSIX. Code that walks characters goes through here instead of asking how wide
// wchar_t is, so the 16-bit path is the same template code whichever type reaches it and a
// test of char16_t on any system runs what wchar_t runs on Windows.
//
// Units that hold no character (a lone surrogate, a value past U+10FFFF) decode as U+FFFD,
// one unit long, and say that they were not well formed; nothing here throws or reads past
// the end of its input. Header only, so that the engine, the platform and the command line
// can all use it.

#include <concepts>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>
#include <type_traits>

namespace orv {

template <class Unit>
concept CodeUnit =
    std::same_as<Unit, char16_t> || std::same_as<Unit, char32_t> || std::same_as<Unit, wchar_t>;

// Whether a string of `Unit` holds UTF-16 (else UTF-32). The one place that asks how wide
// wchar_t is.
template <CodeUnit Unit>
inline constexpr bool kHoldsUtf16 = std::same_as<Unit, char16_t> ||
                                    (std::same_as<Unit, wchar_t> && sizeof(wchar_t) == 2);
static_assert(sizeof(wchar_t) == 2 || sizeof(wchar_t) == 4, "wchar_t holds UTF-16 or UTF-32");

// The most units one code point takes.
template <CodeUnit Unit>
inline constexpr std::size_t kMostUnitsPerCodePoint = kHoldsUtf16<Unit> ? 2 : 1;

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

constexpr bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}
constexpr bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
constexpr bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}
constexpr bool IsScalarValue(char32_t c) {
    return c <= 0x10FFFF && !IsSurrogate(c);
}

struct DecodedCodePoint {
    char32_t value = kReplacementCharacter;  // U+FFFD where the units hold no character
    std::size_t length = 1;                  // units (or bytes, for UTF-8) taken
    bool wellFormed = false;                 // false where `value` stands in for bad units

    friend bool operator==(const DecodedCodePoint&, const DecodedCodePoint&) = default;
};

// The unit as a number: wchar_t is signed on some systems.
template <CodeUnit Unit>
constexpr char32_t UnitValue(Unit unit) {
    return static_cast<char32_t>(static_cast<std::make_unsigned_t<Unit>>(unit));
}

// The code point that starts at text[at]; `at` must be inside `text`.
template <CodeUnit Unit>
constexpr DecodedCodePoint DecodeCodePoint(std::basic_string_view<Unit> text, std::size_t at) {
    const char32_t first = UnitValue(text[at]);
    if constexpr (kHoldsUtf16<Unit>) {
        if (IsHighSurrogate(first) && at + 1 < text.size()) {
            const char32_t second = UnitValue(text[at + 1]);
            if (IsLowSurrogate(second))
                return {0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00), 2, true};
        }
    }
    if (!IsScalarValue(first)) return {};
    return {first, 1, true};
}

// Writes `c` at `to` (room for kMostUnitsPerCodePoint units) and returns the end of it; a
// value that is no character is written as U+FFFD.
template <CodeUnit Unit>
constexpr Unit* EncodeCodePoint(char32_t c, Unit* to) {
    if (!IsScalarValue(c)) c = kReplacementCharacter;
    if constexpr (kHoldsUtf16<Unit>) {
        if (c >= 0x10000) {
            c -= 0x10000;
            *to++ = static_cast<Unit>(0xD800 + (c >> 10));
            *to++ = static_cast<Unit>(0xDC00 + (c & 0x3FF));
            return to;
        }
    }
    *to++ = static_cast<Unit>(c);
    return to;
}

template <CodeUnit Unit>
void AppendCodePoint(std::basic_string<Unit>& out, char32_t c) {
    Unit units[kMostUnitsPerCodePoint<Unit>];
    out.append(units, static_cast<std::size_t>(EncodeCodePoint(c, units) - units));
}

// The code points of a string, for a range-for or a range algorithm:
//     for (const DecodedCodePoint& c : CodePoints(text)) ...
template <CodeUnit Unit>
class CodePoints {
public:
    class Iterator {
    public:
        using iterator_concept = std::forward_iterator_tag;
        using value_type = DecodedCodePoint;
        using difference_type = std::ptrdiff_t;

        Iterator() = default;
        Iterator(std::basic_string_view<Unit> text, std::size_t at) : text_(text), at_(at) {
            Decode();
        }
        const DecodedCodePoint& operator*() const { return current_; }
        const DecodedCodePoint* operator->() const { return &current_; }
        Iterator& operator++() {
            at_ += current_.length;
            Decode();
            return *this;
        }
        Iterator operator++(int) {
            Iterator before = *this;
            ++*this;
            return before;
        }
        // Where the current code point starts, in units.
        std::size_t position() const { return at_; }
        friend bool operator==(const Iterator& a, const Iterator& b) { return a.at_ == b.at_; }

    private:
        void Decode() {
            if (at_ < text_.size()) current_ = DecodeCodePoint(text_, at_);
        }
        std::basic_string_view<Unit> text_;
        std::size_t at_ = 0;
        DecodedCodePoint current_;
    };

    explicit CodePoints(std::basic_string_view<Unit> text) : text_(text) {}
    Iterator begin() const { return Iterator(text_, 0); }
    Iterator end() const { return Iterator(text_, text_.size()); }

private:
    std::basic_string_view<Unit> text_;
};
template <CodeUnit Unit>
CodePoints(const std::basic_string<Unit>&) -> CodePoints<Unit>;
template <CodeUnit Unit>
CodePoints(const Unit*) -> CodePoints<Unit>;

// Re-encodes `text` in another unit type, bad units becoming U+FFFD.
template <CodeUnit To, CodeUnit From>
std::basic_string<To> ConvertUnits(std::basic_string_view<From> text) {
    std::basic_string<To> out;
    out.reserve(text.size());
    for (const DecodedCodePoint& c : CodePoints<From>(text)) AppendCodePoint(out, c.value);
    return out;
}

// The code point that starts at utf8[at]; a byte that starts no valid sequence (a stray
// continuation, a cut or overlong sequence, a surrogate, a value past U+10FFFF) decodes as
// U+FFFD one byte long, so that the bytes after it are read again.
constexpr DecodedCodePoint DecodeUtf8(std::string_view utf8, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(utf8[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, c = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, c = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, c = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || utf8.size() - at < length) return {};
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(at + k) & 0xC0) != 0x80) return {};
        c = (c << 6) | (byte(at + k) & 0x3F);
    }
    if (c < minimum || !IsScalarValue(c)) return {};
    return {c, length, true};
}

inline void AppendCodePointAsUtf8(std::string& out, char32_t c) {
    if (!IsScalarValue(c)) c = kReplacementCharacter;
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

template <CodeUnit Unit>
void AppendUnitsAsUtf8(std::string& out, std::basic_string_view<Unit> text) {
    out.reserve(out.size() + text.size());
    for (const DecodedCodePoint& c : CodePoints<Unit>(text)) AppendCodePointAsUtf8(out, c.value);
}

template <CodeUnit Unit>
void AppendUtf8AsUnits(std::basic_string<Unit>& out, std::string_view utf8) {
    // No sequence gives more units than it has bytes: the text is decoded in place and the
    // rest cut off, rather than grown a character at a time.
    const std::size_t start = out.size();
    out.resize(start + utf8.size());
    Unit* const first = out.data() + start;
    Unit* to = first;
    for (std::size_t at = 0; at < utf8.size();) {
        const DecodedCodePoint c = DecodeUtf8(utf8, at);
        to = EncodeCodePoint(c.value, to);
        at += c.length;
    }
    out.resize(start + static_cast<std::size_t>(to - first));
}

}  // namespace orv
