#include "engine/doc/BlockBuilder.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <utility>

#include "engine/text/Utf8.h"

namespace orv::engine {
namespace {

bool IsAsciiSpace(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\f';
}

bool IsWhitespace(wchar_t c) {
    return u_isUWhiteSpace(static_cast<UChar32>(c));
}

}  // namespace

void BlockBuilder::AppendUtf8(std::string_view text, Spaces spaces) {
    scratch_.clear();
    engine::AppendUtf8(scratch_, text);
    Append(scratch_, spaces);
}

void BlockBuilder::Append(std::wstring_view text, Spaces spaces) {
    for (wchar_t c : text) {
        if (c == kCodeMark) {
            // A mark written in the document stands for no code; it becomes one of its own.
            AppendCode(InlineCode{InlineCode::Kind::Standalone, {}, std::wstring(1, kCodeMark)});
            continue;
        }
        if (spaces == Spaces::Collapse && IsAsciiSpace(c)) {
            if (afterSpace_) continue;
            c = L' ';
        }
        afterSpace_ = IsAsciiSpace(c);
        segment_.text += c;
    }
}

void BlockBuilder::AppendCode(InlineCode code) {
    // A space after a code is kept: "See <img> and" is not "See <img>and".
    afterSpace_ = false;
    segment_.text += kCodeMark;
    segment_.codes.push_back(std::move(code));
}

void BlockBuilder::DropFrom(std::size_t position) {
    std::wstring& text = segment_.text;
    if (position >= text.size()) return;
    const auto marks =
        std::count(text.begin() + static_cast<std::ptrdiff_t>(position), text.end(), kCodeMark);
    segment_.codes.resize(segment_.codes.size() - static_cast<std::size_t>(marks));
    text.erase(position);
    afterSpace_ = text.empty() || IsAsciiSpace(text.back());
}

bool BlockBuilder::HasText() const {
    for (wchar_t c : segment_.text) {
        if (c != kCodeMark && !IsWhitespace(c)) return true;
    }
    return false;
}

Segment BlockBuilder::Take() {
    afterSpace_ = true;
    // Whitespace holds no mark, so the codes stay as they are.
    std::wstring& text = segment_.text;
    std::size_t end = text.size();
    while (end > 0 && IsWhitespace(text[end - 1])) --end;
    std::size_t begin = 0;
    while (begin < end && IsWhitespace(text[begin])) ++begin;
    text.erase(end);
    text.erase(0, begin);
    return std::exchange(segment_, Segment{});
}

}  // namespace orv::engine
