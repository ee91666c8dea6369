#pragma once
// The text of one paragraph with its whitespace as it shows: each run of spaces, tabs and line
// ends in the XML is one space, and none stands at the paragraph's start; text:s spaces are
// kept. A stretch of nothing but spaces keeps the formatting of the text before it, so that
// the space between two bold words opens no pair of codes of its own.

#include <optional>
#include <string>
#include <string_view>

#include "engine/office/FormattedRuns.h"

namespace orv::engine {

class OdfParagraphText {
public:
    explicit OdfParagraphText(FormattedRuns& runs) : runs_(runs) {}

    // Character data of the paragraph, in the formatting `key`.
    void AddXmlText(std::string_view text, const std::string& key);
    void AddSpaces(int count, const std::string& key);
    void AddCode(std::wstring content);

private:
    void Add(const std::string& text, const std::string& key);

    FormattedRuns& runs_;
    bool afterSpace_ = true;
    std::optional<std::string> lastKey_;  // of the last text that was not only spaces
};

}  // namespace orv::engine
