#include "DocumentTesting.h"

#include <gtest/gtest.h>

#include "engine/model/EngineError.h"
#include "engine/text/Utf8.h"
#include "platform/AutomationError.h"

namespace orv::engine::test {

std::wstring Render(const Segment& segment) {
    std::wstring text;
    std::size_t code = 0;
    for (wchar_t c : segment.text) {
        if (c != kCodeMark)
            text += c;
        else if (code < segment.codes.size())
            text += segment.codes[code++].content;
        else
            ADD_FAILURE() << "a mark without a code in " << ToUtf8(segment.text);
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
        codes += "BEIS"[static_cast<int>(code.kind)];  // in the order of InlineCode::Kind
        codes += ToUtf8(code.pairId);
    }
    return codes;
}

std::vector<std::string> BlockCodes(const DocumentText& document) {
    std::vector<std::string> codes;
    for (const TextBlock& block : document.blocks) codes.push_back(Codes(block.text));
    return codes;
}

DocumentSettings SettingsOf(const std::wstring& text) {
    DocumentSettings settings;
    settings.html = ParseMarkupRules(text, DefaultHtmlRules());
    settings.sgml = ParseMarkupRules(text, MarkupRules());
    return settings;
}

std::wstring FailureOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), kEngineFailure);
        return error.description();
    }
    return L"no error";
}

}  // namespace orv::engine::test
