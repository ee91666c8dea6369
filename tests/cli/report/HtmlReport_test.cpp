#include "cli/report/HtmlReport.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "QuoteBatches.h"
#include "ReportBatches.h"

namespace orv::test {
namespace {

using testing::Contains;
using testing::ElementsAre;
using testing::EndsWith;
using testing::HasSubstr;
using testing::Not;
using testing::Pair;
using Strings = std::vector<std::string>;

const std::wstring kTrickyPath = L"/docs/a<&\"b'>.txt";
const std::string kTrickyName = "a<&\"b'>.txt";

std::string Html(const Files& files, const cli::ReportContext& context = {}) {
    std::ostringstream out;
    cli::WriteHtmlReport(out, cli::SummariseBatch(files), context);
    return out.str();
}

Files SampleBatch() {
    Files files;
    AddProcessed(files, kTrickyPath, {10, 20, 30, 0, 0, 0, 5, 35});
    AddProcessed(files, L"/docs/only-new.txt", {0, 0, 0, 0, 0, 0, 0, 12});
    AddFailed(files, L"/docs/failed.txt");
    AddProcessed(files, L"/docs/empty.txt", {});
    return files;
}

std::string Owned(xmlChar* value) {
    std::string text = value ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}
std::string Attribute(xmlNode* node, const char* name) {
    return Owned(xmlGetProp(node, reinterpret_cast<const xmlChar*>(name)));
}
std::string Text(xmlNode* node) {
    return Owned(xmlNodeGetContent(node));
}

Strings Texts(const std::vector<xmlNode*>& nodes) {
    Strings texts;
    for (xmlNode* node : nodes) texts.push_back(Text(node));
    return texts;
}

std::vector<xmlNode*> Children(xmlNode* node) {
    std::vector<xmlNode*> children;
    for (xmlNode* child = node->children; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) children.push_back(child);
    }
    return children;
}

// The elements called `name` in `node`'s tree, in document order; with `cls`, only those
// of that class.
std::vector<xmlNode*> Find(xmlNode* node, const std::string& name, const std::string& cls = "") {
    std::vector<xmlNode*> found;
    if (name == reinterpret_cast<const char*>(node->name) &&
        (cls.empty() ||
         (" " + Attribute(node, "class") + " ").find(" " + cls + " ") != std::string::npos)) {
        found.push_back(node);
    }
    for (xmlNode* child : Children(node)) {
        for (xmlNode* inner : Find(child, name, cls)) found.push_back(inner);
    }
    return found;
}

// The page as libxml2's HTML parser reads it.
struct Parsed {
    explicit Parsed(const std::string& html)
        : doc(htmlReadMemory(html.data(), static_cast<int>(html.size()), "report.html", "UTF-8",
                             HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
              xmlFreeDoc) {}
    std::vector<xmlNode*> Elements(const std::string& name, const std::string& cls = "") const {
        return Find(xmlDocGetRootElement(doc.get()), name, cls);
    }
    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc;
};

TEST(HtmlReportTest, EachDocumentWithWordsHasABarThatFillsItsWidthAndTheLegendNamesTheBands) {
    const Parsed page(Html(SampleBatch()));
    ASSERT_TRUE(page.doc);
    // The batch and the two documents with words; the failed and the empty one have none.
    const auto bars = page.Elements("div", "bar");
    ASSERT_EQ(bars.size(), 3u);
    const std::size_t segmentCounts[] = {5, 5, 1};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const auto segments = Children(bars[i]);
        EXPECT_EQ(segments.size(), segmentCounts[i]) << "bar " << i;
        double width = 0.0;
        for (xmlNode* segment : segments) {
            EXPECT_FALSE(Attribute(segment, "title").empty());
            const std::string style = Attribute(segment, "style");
            ASSERT_EQ(style.rfind("width:", 0), 0u) << style;
            width += std::strtod(style.c_str() + 6, nullptr);
        }
        EXPECT_NEAR(width, 100.0, 0.01) << "bar " << i;
    }
    const auto first = Children(bars[1]);
    EXPECT_EQ(Attribute(first[2], "title"), "95-99%: 30 words (30%)");
    EXPECT_EQ(Attribute(first[2], "style"), "width:30.000%");

    const Strings notes = Texts(page.Elements("p"));
    EXPECT_THAT(notes, Contains(EndsWith("Processing error: not processed")));
    EXPECT_THAT(notes, Contains(EndsWith("No words")));
    EXPECT_THAT(notes, Contains(HasSubstr("1 document not processed")));

    const auto legends = page.Elements("ul", "legend");
    ASSERT_EQ(legends.size(), 1u);
    EXPECT_EQ(Texts(Children(legends[0])),
              Strings(cli::kBandLabels.begin(), cli::kBandLabels.end()));
}

TEST(HtmlReportTest, TheTotalsAreARealTableWithScopedHeaders) {
    const Parsed page(Html(SampleBatch()));
    const auto tables = page.Elements("table");
    ASSERT_GE(tables.size(), 1u);
    Strings columns, rows;
    for (xmlNode* th : Find(tables[0], "th")) {
        const std::string scope = Attribute(th, "scope");
        EXPECT_TRUE(scope == "col" || scope == "row") << Text(th);
        (scope == "col" ? columns : rows).push_back(Text(th));
    }
    EXPECT_EQ(columns, (Strings{"Band", "Segments", "Words", "Placeables", "Percent"}));
    Strings expectedRows(cli::kBandLabels.begin(), cli::kBandLabels.end());
    expectedRows.push_back("Total");
    EXPECT_EQ(rows, expectedRows);
    // The no-match row: 35 + 12 words of 112 in all.
    std::vector<Strings> cells;
    for (xmlNode* tr : Find(tables[0], "tr")) cells.push_back(Texts(Children(tr)));
    EXPECT_THAT(cells, Contains(ElementsAre("No match", "6", "47", "2", "42%")));
}

TEST(HtmlReportTest, NamesAndContextAreEscapedAndReadBackUnchanged) {
    const cli::ReportContext context{L"/tm/<script>alert(1)</script>.tmx", L"de-DE & fr\"",
                                     L"2024-05-01 12:00"};
    const std::string html = Html(SampleBatch(), context);
    EXPECT_THAT(html, Not(HasSubstr(kTrickyName)));
    const Parsed page(html);
    std::vector<std::pair<std::string, std::string>> names;
    for (xmlNode* div : page.Elements("div", "doc-name")) {
        names.emplace_back(Text(div), Attribute(div, "title"));
    }
    EXPECT_THAT(names, Contains(Pair(kTrickyName, "/docs/a<&\"b'>.txt")));
    EXPECT_EQ(Texts(page.Elements("dd")),
              (Strings{"/tm/<script>alert(1)</script>.tmx", "de-DE & fr\"", "2024-05-01 12:00"}));
    EXPECT_TRUE(page.Elements("script").empty());
}

TEST(HtmlReportTest, ThePageFetchesNothingAndRunsNothing) {
    Files files = SampleBatch();
    AddProcessed(files, L"/docs/<script>.txt", {1, 0, 0, 0, 0, 0, 0, 0});
    for (const std::string& html : {Html(files), Html(Files{})}) {
        for (const char* outside : {"http://", "https://", "<script", "<link", "url("}) {
            EXPECT_THAT(html, Not(HasSubstr(outside)));
        }
        EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
        EXPECT_THAT(html, HasSubstr("<meta charset=\"utf-8\">"));
    }
}

TEST(HtmlReportTest, ControlCharactersInANameCannotBreakThePage) {
    Files files;
    AddProcessed(files, L"/docs/a\001b\033c\u0085.txt", {1, 0, 0, 0, 0, 0, 0, 0});
    const std::string html = Html(files);
    EXPECT_THAT(html, Not(HasSubstr("\x01")));
    EXPECT_THAT(html, Not(HasSubstr("\x1b")));
    EXPECT_THAT(html, HasSubstr("a\xef\xbf\xbd"
                                "b\xef\xbf\xbd"
                                "c\xef\xbf\xbd.txt"));
}

TEST(HtmlReportTest, AQuoteShowsTheGridTheCostOfEachDocumentAndTheTotal) {
    const auto summary = cli::SummariseBatch(SampleBatch());
    GridText text{"0.10", {"0", "50", "50", "100", "100", "100", "100", "100"}};
    text.minimumPerDocument = "2";
    text.rounding = cli::Rounding::OnTotal;
    const auto quote = cli::QuoteBatch(summary, GridOf(text));
    cli::ReportContext context;
    context.quote = &quote;
    std::ostringstream out;
    cli::WriteHtmlReport(out, summary, context);
    const Parsed page(out.str());

    EXPECT_THAT(Texts(page.Elements("h2")), Contains("Quote"));
    EXPECT_THAT(Texts(page.Elements("li")), Contains("8.50 EUR to pay"));
    const Strings grid = Texts(page.Elements("dd"));
    EXPECT_THAT(grid, Contains("/grids/test.ini"));
    EXPECT_THAT(grid, Contains("0.10 EUR"));
    EXPECT_THAT(grid, Contains("2.00 EUR"));
    std::vector<Strings> rows;
    for (xmlNode* table : page.Elements("table")) {
        for (xmlNode* tr : Find(table, "tr")) rows.push_back(Texts(Children(tr)));
    }
    // 10 + 15 + 5 + 35 weighted words; 12, at the minimum; a failure.
    EXPECT_THAT(rows, Contains(ElementsAre("95-99%", "50%")));
    EXPECT_THAT(rows, Contains(ElementsAre(kTrickyName, "100", "65.00", "6.50 EUR", "")));
    EXPECT_THAT(rows, Contains(ElementsAre("only-new.txt", "12", "12.00", "2.00 EUR",
                                           "minimum per document")));
    EXPECT_THAT(rows, Contains(ElementsAre("failed.txt", "", "", "", "not analysed: no cost")));
    // Nothing to translate, so no minimum either.
    EXPECT_THAT(rows, Contains(ElementsAre("empty.txt", "0", "0.00", "0.00 EUR", "")));
    EXPECT_THAT(rows, Contains(ElementsAre("Total", "112", "77.00", "8.50 EUR", "")));
    EXPECT_THAT(Texts(page.Elements("p")), Contains(HasSubstr("rounded for reading only")));
}

}  // namespace
}  // namespace orv::test
