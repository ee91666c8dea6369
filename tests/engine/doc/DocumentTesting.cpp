#include "DocumentTesting.h"

#include <gtest/gtest.h>

#include "engine/tm/Utf8.h"

namespace orv::engine::test {

std::wstring Render(const Segment& segment) {
    std::wstring text;
    std::size_t code = 0;
    for (wchar_t c : segment.text) {
        if (c != kCodeMark) {
            text += c;
        } else if (code < segment.codes.size()) {
            text += segment.codes[code++].content;
        } else {
            ADD_FAILURE() << "a mark without a code in " << ToUtf8(segment.text);
        }
    }
    EXPECT_EQ(code, segment.codes.size()) << "codes without marks in " << ToUtf8(segment.text);
    return text;
}

Lines Blocks(const DocumentText& document) {
    Lines lines;
    for (const TextBlock& block : document.blocks) lines.push_back(Render(block.text));
    return lines;
}

std::string Codes(const Segment& segment) {
    std::string codes;
    for (const InlineCode& code : segment.codes) {
        if (!codes.empty()) codes += ' ';
        switch (code.kind) {
            case InlineCode::Kind::Begin:
                codes += 'B';
                break;
            case InlineCode::Kind::End:
                codes += 'E';
                break;
            case InlineCode::Kind::Standalone:
                codes += 'S';
                break;
            case InlineCode::Kind::Isolated:
                codes += 'I';
                break;
        }
        codes += ToUtf8(code.pairId);
    }
    return codes;
}

DocumentText Read(const std::string& bytes, DocumentFormat format,
                  const DocumentSettings& settings) {
    return ReadDocumentBytes(bytes, format, settings);
}

DocumentSettings SettingsOf(const std::wstring& text) {
    DocumentSettings settings;
    settings.html = ParseMarkupRules(text, DefaultHtmlRules());
    settings.sgml = ParseMarkupRules(text, MarkupRules());
    return settings;
}

}  // namespace orv::engine::test
