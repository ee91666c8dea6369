#pragma once
// Segments for engine tests, written with tags: "<b>" opens a code, "</b>" closes one and
// "<br/>" stands alone; each becomes a kCodeMark with the tag as the code's content.
// "⟨%s⟩" is a standalone code holding "%s", as a PO reader makes of a placeholder.

#include <string>
#include <string_view>

#include "engine/model/Segment.h"
#include "platform/CodePoints.h"

namespace orv::engine::test {

inline Segment Tagged(std::wstring_view markup) {
    Segment segment;
    for (std::size_t i = 0; i < markup.size(); ++i) {
        if (markup[i] == L'\u27E8') {
            const std::size_t close = markup.find(L'\u27E9', i);
            segment.text += kCodeMark;
            segment.codes.push_back({InlineCode::Kind::Standalone,
                                     {},
                                     std::wstring(markup.substr(i + 1, close - i - 1))});
            i = close;
            continue;
        }
        std::size_t close = markup[i] == L'<' ? markup.find(L'>', i) : std::wstring_view::npos;
        if (close == std::wstring_view::npos) {
            segment.text += markup[i];
            continue;
        }
        InlineCode code;
        code.content = std::wstring(markup.substr(i, close - i + 1));
        code.kind = code.content.starts_with(L"</") ? InlineCode::Kind::End
                    : code.content.ends_with(L"/>") ? InlineCode::Kind::Standalone
                                                    : InlineCode::Kind::Begin;
        segment.text += kCodeMark;
        segment.codes.push_back(code);
        i = close;
    }
    return segment;
}

// The same segment in UTF-16 units: the form in which a system whose wchar_t has 16 bits
// holds it.
inline BasicSegment<char16_t> AsUtf16(const Segment& segment) {
    const auto convert = [](const std::wstring& text) {
        return ConvertUnits<char16_t>(std::wstring_view(text));
    };
    BasicSegment<char16_t> converted{convert(segment.text), {}};
    for (const InlineCode& code : segment.codes)
        converted.codes.push_back({code.kind, convert(code.pairId), convert(code.content)});
    return converted;
}

}  // namespace orv::engine::test
