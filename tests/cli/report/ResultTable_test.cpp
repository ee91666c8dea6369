#include "cli/report/ResultTable.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <vector>

#include "ReportBatches.h"
#include "platform/NarrowText.h"

namespace orv::test {
namespace {

using testing::EndsWith;
using testing::HasSubstr;
using testing::Not;
using testing::StartsWith;

std::string Table(const Files& files, bool color = false) {
    std::ostringstream out;
    cli::WriteResultTable(out, cli::SummariseBatch(files), cli::TableStyle{color});
    return out.str();
}

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string WithoutSgr(const std::string& text) {
    return std::regex_replace(text, std::regex("\x1b\\[[0-9;]*m"), "");
}

// Columns on the terminal: characters, not bytes.
std::size_t Columns(const std::string& line) {
    return FromNarrow(WithoutSgr(line)).size();
}

const std::string* FindLine(const std::vector<std::string>& lines, const std::string& start,
                            std::size_t from = 0) {
    for (std::size_t i = from; i < lines.size(); ++i) {
        if (lines[i].rfind(start, 0) == 0) return &lines[i];
    }
    return nullptr;
}

// Documents that push the layout: long names, big numbers, a failure, a plain one.
Files WideBatch() {
    Files files;
    AddProcessed(files,
                 L"/projects/client/2024/a-rather-long-folder-name/"
                 L"quarterly-report-final-version-reviewed-by-legal-and-marketing.docx",
                 {2'000'000'000, 0, 0, 0, 0, 0, 0, 100'000'000}, 12345);
    AddProcessed(files, L"C:\\Docs\\\u00fcbersicht \u65e5\u672c.rtf", {0, 0, 0, 0, 0, 0, 0, 7});
    AddFailed(files, L"/docs/broken-with-a-name-of-forty-chars-x.docx");
    files.Add(L"/docs/never-seen.txt");
    return files;
}

TEST(ResultTableTest, EveryLineFitsEightyColumnsAndDocumentsAreShownByNameKeepingBothEnds) {
    for (bool color : {false, true}) {
        const auto lines = LinesOf(Table(WideBatch(), color));
        ASSERT_GT(lines.size(), 20u);
        for (const auto& line : lines) EXPECT_LE(Columns(line), 80u) << line;
    }
    const std::string text = Table(WideBatch());
    EXPECT_THAT(text, Not(HasSubstr("/projects/")));
    EXPECT_THAT(text, HasSubstr("quarterly-report-fi...and-marketing.docx"));
    EXPECT_THAT(text, HasSubstr("broken-with-a-name-of-forty-chars-x.docx"));
    EXPECT_THAT(text, HasSubstr(ToNarrow(L"\u00fcbersicht \u65e5\u672c.rtf")));
}

TEST(ResultTableTest, WithoutColourThereIsNoEscapeSequenceNotEvenFromAFileName) {
    Files files = WideBatch();
    AddProcessed(files, L"/docs/evil\x1b[2J\x1b]0;title\x07name.txt", {1, 0, 0, 0, 0, 0, 0, 1});
    const std::string plain = Table(files, false);
    EXPECT_THAT(plain, Not(HasSubstr("\x1b")));
    EXPECT_THAT(plain, Not(HasSubstr("\x07")));
    EXPECT_THAT(plain, HasSubstr("evil?[2J?]0;title?name.txt"));

    const std::string colored = Table(files, true);
    EXPECT_THAT(colored, HasSubstr("\x1b[1m"));
    // Only the table's own bold, red and reset; the name's escapes are still neutralised.
    EXPECT_EQ(WithoutSgr(colored), plain);
}

TEST(ResultTableTest, UnprocessedDocumentsSayWhyInPlaceOfNumbers) {
    const auto lines = LinesOf(Table(WideBatch()));
    const std::string* failed = FindLine(lines, "broken-with");
    const std::string* unseen = FindLine(lines, "never-seen.txt");
    ASSERT_TRUE(failed && unseen);
    EXPECT_THAT(*failed, HasSubstr("(not processed: processing error)"));
    EXPECT_THAT(*unseen, HasSubstr("(not processed)"));
    // The block after an unprocessed document's title is the next title, not band rows; the
    // batch's details are too long for its title line with these numbers and get their own.
    const auto next = static_cast<std::size_t>(unseen - lines.data()) + 1;
    ASSERT_LT(next + 2, lines.size());
    EXPECT_EQ(lines[next], "");
    EXPECT_THAT(lines[next + 1], StartsWith("All documents"));
    EXPECT_THAT(lines[next + 2],
                StartsWith("  (2 of 4 documents processed, 12,345 tagging errors"));
}

TEST(ResultTableTest, NumbersLineUpUnderTheirHeadings) {
    Files files;
    AddProcessed(files, L"a.txt", {1234, 5, 0, 0, 0, 0, 0, 0}, 3);
    const auto lines = LinesOf(Table(files));
    ASSERT_GE(lines.size(), 11u);
    EXPECT_EQ(lines[0], "a.txt  (3 tagging errors, 5.00 chars/word)");
    const std::string& heading = lines[1];
    const auto wordsEnd = heading.find("Words") + 5;
    const auto percentEnd = heading.find("Percent") + 7;
    struct Row {
        std::string label, words, percent;
    };
    const Row rows[] = {
        {"  Repetitions", "1,234", "100%"}, {"  100%", "5", "0%"}, {"  No match", "0", "0%"}};
    for (const Row& row : rows) {
        const std::string* line = FindLine(lines, row.label);
        ASSERT_TRUE(line) << row.label;
        EXPECT_EQ(line->substr(wordsEnd - row.words.size(), row.words.size() + 1), row.words + " ")
            << *line;
        EXPECT_EQ(line->substr(percentEnd - row.percent.size()), row.percent) << *line;
    }
    const std::string* total = FindLine(lines, "  Total");
    ASSERT_TRUE(total);
    EXPECT_EQ(total->substr(wordsEnd - 5), "1,239");
}

TEST(ResultTableTest, TheBatchBlockSumsAndSaysWhatTheMemoryCovers) {
    Files files;
    AddProcessed(files, L"a.txt", {10, 30, 0, 0, 0, 0, 0, 60}, 1);
    AddProcessed(files, L"b.txt", {0, 20, 0, 0, 0, 0, 0, 80}, 2);
    const auto lines = LinesOf(Table(files));
    const std::string* title = FindLine(lines, "All documents");
    ASSERT_TRUE(title);
    EXPECT_EQ(*title,
              "All documents  (2 of 2 documents processed, 3 tagging errors, 5.00 "
              "chars/word)");
    const auto from = static_cast<std::size_t>(title - lines.data());
    const std::string* noMatch = FindLine(lines, "  No match", from);
    ASSERT_TRUE(noMatch);
    EXPECT_THAT(*noMatch, HasSubstr(" 140  "));
    EXPECT_THAT(*noMatch, EndsWith("70%"));
    EXPECT_EQ(lines.back(), "  Repetitions and 100% matches: 60 of 200 words (30%)");
}

TEST(ResultTableTest, UnknownValuesReadNotAvailable) {
    TempFolder folder;
    Files files;
    const std::wstring path = folder.wpath("a.txt");
    files.Add(path);
    ParseLogRows(folder, files, ToNarrow(path) + ";0;5.5;2;10;0;5;8;190;3;95;10;200;1100;3\r\n");
    const auto lines = LinesOf(Table(files));
    const std::string* relayed = FindLine(lines, "  Relayed");
    ASSERT_TRUE(relayed);
    EXPECT_EQ(std::regex_replace(*relayed, std::regex(" +"), " "), " Relayed n/a n/a n/a");
}

TEST(ResultTableTest, AnEmptyBatchSaysSo) {
    EXPECT_EQ(Table(Files{}), "No documents in the batch.\n");
}

}  // namespace
}  // namespace orv::test
