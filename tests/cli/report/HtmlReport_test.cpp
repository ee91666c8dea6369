#include "cli/report/HtmlReport.h"

#include <gtest/gtest.h>
#include <libxml/HTMLparser.h>
#include <libxml/tree.h>

#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "ReportBatches.h"

namespace orv::test {
namespace {

const std::wstring kTrickyPath = L"/docs/a<&\"b'>.txt";
const std::string kTrickyName = "a<&\"b'>.txt";

std::string Page(const Files& files, const cli::ReportContext& context = {}) {
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

// The page as libxml2's HTML parser reads it.
class Document {
public:
    explicit Document(const std::string& html)
        : doc_(htmlReadMemory(html.data(), static_cast<int>(html.size()), "report.html", "UTF-8",
                              HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET),
               xmlFreeDoc) {}

    bool parsed() const { return doc_ != nullptr; }

    std::vector<xmlNode*> Elements(const std::string& name) const {
        std::vector<xmlNode*> found;
        Collect(xmlDocGetRootElement(doc_.get()), name, found);
        return found;
    }

    static std::string Attribute(xmlNode* node, const char* name) {
        xmlChar* value = xmlGetProp(node, reinterpret_cast<const xmlChar*>(name));
        std::string text = value ? reinterpret_cast<const char*>(value) : "";
        xmlFree(value);
        return text;
    }

    static std::string Text(xmlNode* node) {
        xmlChar* value = xmlNodeGetContent(node);
        std::string text = value ? reinterpret_cast<const char*>(value) : "";
        xmlFree(value);
        return text;
    }

    static bool HasClass(xmlNode* node, const std::string& cls) {
        return (" " + Attribute(node, "class") + " ").find(" " + cls + " ") != std::string::npos;
    }

    static std::vector<xmlNode*> Children(xmlNode* node) {
        std::vector<xmlNode*> children;
        for (xmlNode* child = node->children; child; child = child->next) {
            if (child->type == XML_ELEMENT_NODE) children.push_back(child);
        }
        return children;
    }

private:
    static void Collect(xmlNode* node, const std::string& name, std::vector<xmlNode*>& found) {
        for (; node; node = node->next) {
            if (node->type == XML_ELEMENT_NODE &&
                name == reinterpret_cast<const char*>(node->name)) {
                found.push_back(node);
            }
            Collect(node->children, name, found);
        }
    }

    std::unique_ptr<xmlDoc, void (*)(xmlDoc*)> doc_;
};

std::vector<xmlNode*> WithClass(const Document& doc, const std::string& cls) {
    std::vector<xmlNode*> found;
    for (xmlNode* div : doc.Elements("div")) {
        if (Document::HasClass(div, cls)) found.push_back(div);
    }
    return found;
}

TEST(HtmlReportTest, EachProcessedDocumentWithWordsHasABarThatFillsItsWidth) {
    const Document doc(Page(SampleBatch()));
    ASSERT_TRUE(doc.parsed());
    // The batch and the two documents with words; the failed and the empty one have none.
    const auto bars = WithClass(doc, "bar");
    ASSERT_EQ(bars.size(), 3u);
    const std::vector<std::size_t> segmentCounts = {5, 5, 1};
    for (std::size_t i = 0; i < bars.size(); ++i) {
        const auto segments = Document::Children(bars[i]);
        EXPECT_EQ(segments.size(), segmentCounts[i]) << "bar " << i;
        double width = 0.0;
        for (xmlNode* segment : segments) {
            EXPECT_FALSE(Document::Attribute(segment, "title").empty());
            const std::string style = Document::Attribute(segment, "style");
            ASSERT_EQ(style.rfind("width:", 0), 0u) << style;
            width += std::strtod(style.c_str() + 6, nullptr);
        }
        EXPECT_NEAR(width, 100.0, 0.01) << "bar " << i;
    }
    const auto first = Document::Children(bars[1]);
    EXPECT_EQ(Document::Attribute(first[2], "title"), "95-99%: 30 words (30%)");
    EXPECT_EQ(Document::Attribute(first[2], "style"), "width:30.000%");

    std::string notes;
    for (xmlNode* p : doc.Elements("p")) notes += Document::Text(p) + "|";
    EXPECT_NE(notes.find("Processing error: not processed|"), std::string::npos) << notes;
    EXPECT_NE(notes.find("No words|"), std::string::npos) << notes;
    EXPECT_NE(notes.find("1 document not processed"), std::string::npos) << notes;
}

TEST(HtmlReportTest, TheLegendNamesEveryBandInOrder) {
    const Document doc(Page(SampleBatch()));
    std::vector<std::string> legend;
    for (xmlNode* ul : doc.Elements("ul")) {
        if (!Document::HasClass(ul, "legend")) continue;
        for (xmlNode* li : Document::Children(ul)) legend.push_back(Document::Text(li));
    }
    EXPECT_EQ(legend, std::vector<std::string>(cli::kBandLabels.begin(), cli::kBandLabels.end()));
}

TEST(HtmlReportTest, TheTotalsAreARealTableWithScopedHeaders) {
    const Document doc(Page(SampleBatch()));
    const auto tables = doc.Elements("table");
    ASSERT_GE(tables.size(), 1u);
    xmlNode* totals = tables[0];
    std::vector<std::string> columns;
    std::vector<std::string> rows;
    for (xmlNode* th : doc.Elements("th")) {
        xmlNode* table = th;
        while (table && table != totals) table = table->parent;
        if (!table) continue;
        const std::string scope = Document::Attribute(th, "scope");
        (scope == "col" ? columns : rows).push_back(Document::Text(th));
        EXPECT_TRUE(scope == "col" || scope == "row") << Document::Text(th);
    }
    EXPECT_EQ(columns,
              (std::vector<std::string>{"Band", "Segments", "Words", "Placeables", "Percent"}));
    std::vector<std::string> expectedRows(cli::kBandLabels.begin(), cli::kBandLabels.end());
    expectedRows.push_back("Total");
    EXPECT_EQ(rows, expectedRows);
    // The no-match row: 35 + 12 words of 112 in all.
    xmlNode* noMatchRow = nullptr;
    for (xmlNode* tr : doc.Elements("tr")) {
        if (Document::Text(tr).rfind("No match", 0) == 0) noMatchRow = tr;
    }
    ASSERT_TRUE(noMatchRow);
    std::vector<std::string> cells;
    for (xmlNode* td : Document::Children(noMatchRow)) cells.push_back(Document::Text(td));
    EXPECT_EQ(cells, (std::vector<std::string>{"No match", "6", "47", "2", "42%"}));
}

TEST(HtmlReportTest, NamesAndContextAreEscapedAndReadBackUnchanged) {
    const cli::ReportContext context{L"/tm/<script>alert(1)</script>.tmx", L"de-DE & fr\"",
                                     L"2024-05-01 12:00"};
    const std::string html = Page(SampleBatch(), context);
    EXPECT_EQ(html.find(kTrickyName), std::string::npos);
    const Document doc(html);
    bool nameFound = false;
    for (xmlNode* div : WithClass(doc, "doc-name")) {
        if (Document::Text(div) != kTrickyName) continue;
        nameFound = true;
        EXPECT_EQ(Document::Attribute(div, "title"), "/docs/a<&\"b'>.txt");
    }
    EXPECT_TRUE(nameFound);
    std::vector<std::string> details;
    for (xmlNode* dd : doc.Elements("dd")) details.push_back(Document::Text(dd));
    EXPECT_EQ(details, (std::vector<std::string>{"/tm/<script>alert(1)</script>.tmx",
                                                 "de-DE & fr\"", "2024-05-01 12:00"}));
    EXPECT_TRUE(doc.Elements("script").empty());
}

TEST(HtmlReportTest, ThePageFetchesNothingAndRunsNothing) {
    Files files = SampleBatch();
    AddProcessed(files, L"/docs/<script>.txt", {1, 0, 0, 0, 0, 0, 0, 0});
    for (const std::string& html : {Page(files), Page(Files{})}) {
        EXPECT_EQ(html.find("http://"), std::string::npos);
        EXPECT_EQ(html.find("https://"), std::string::npos);
        EXPECT_EQ(html.find("<script"), std::string::npos);
        EXPECT_EQ(html.find("<link"), std::string::npos);
        EXPECT_EQ(html.find("url("), std::string::npos);
        EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u);
        EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
    }
}

TEST(HtmlReportTest, ControlCharactersInANameCannotBreakThePage) {
    Files files;
    AddProcessed(files,
                 L"/docs/a\x01"
                 L"b\x1b"
                 L"c\u0085.txt",
                 {1, 0, 0, 0, 0, 0, 0, 0});
    const std::string html = Page(files);
    EXPECT_EQ(html.find('\x01'), std::string::npos);
    EXPECT_EQ(html.find('\x1b'), std::string::npos);
    EXPECT_NE(html.find("a\xef\xbf\xbd"
                        "b\xef\xbf\xbd"
                        "c\xef\xbf\xbd.txt"),
              std::string::npos);
}

}  // namespace
}  // namespace orv::test
