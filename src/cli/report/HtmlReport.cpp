#include "cli/report/HtmlReport.h"

#include <fmt/format.h>

#include <array>
#include <string>
#include <utility>

#include "cli/report/HtmlQuoteSection.h"
#include "cli/report/ReportText.h"

namespace orv::cli {
namespace {

// One colour per band, in Band order: greens for what the memory covers, warm colours for
// what needs work, blue for relayed. Text on the page never relies on colour alone.
constexpr std::array<std::string_view, kBandCount> kBandColours = {
    "#1a9850", "#66bd63", "#a6d96a", "#d9ef8b", "#fee08b", "#fdae61", "#74add1", "#d73027",
};

constexpr std::string_view kStyle = R"(
body{font-family:system-ui,-apple-system,"Segoe UI",Roboto,"Helvetica Neue",Arial,sans-serif;
 color:#1a1a1a;background:#fff;line-height:1.45;max-width:62rem;margin:2rem auto;padding:0 1rem}
h1{font-size:1.7rem;margin:0 0 .5rem}
h2{font-size:1.25rem;margin:2rem 0 .75rem;border-bottom:1px solid #ddd;padding-bottom:.25rem}
dl.context{display:grid;grid-template-columns:max-content 1fr;gap:.2rem 1rem;margin:0}
dl.context dt{font-weight:600}
dl.context dd{margin:0;overflow-wrap:anywhere}
ul.figures{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:1rem}
ul.figures li{border:1px solid #ddd;border-radius:6px;padding:.6rem 1rem;min-width:10rem}
.figure{display:block;font-size:1.6rem;font-weight:700}
.warning{color:#a50026;font-weight:600}
ul.legend{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:.4rem 1.2rem;margin:0 0 1rem}
.swatch{display:inline-block;width:.9rem;height:.9rem;border:1px solid #555;margin-right:.35rem;
 vertical-align:-.1rem}
.doc{margin:0 0 .9rem}
.doc-name{font-weight:600;overflow-wrap:anywhere}
.doc-facts{font-size:.85rem;color:#555}
.bar{display:flex;height:1.4rem;border:1px solid #777;border-radius:3px;overflow:hidden;
 background:#f2f2f2}
.bar>div{height:100%;min-width:0}
.empty{font-style:italic;color:#555}
table{border-collapse:collapse;margin:0 0 1rem}
caption{text-align:left;font-weight:600;padding:0 0 .4rem}
th,td{padding:.3rem .7rem;border-bottom:1px solid #ddd}
thead th{border-bottom:2px solid #999;text-align:right}
thead th:first-child,tbody th,tfoot th{text-align:left}
td{text-align:right;font-variant-numeric:tabular-nums}
tfoot th,tfoot td{font-weight:700;border-top:2px solid #999}
.text{text-align:left}
@media print{body{margin:0;max-width:none}.bar,.swatch{print-color-adjust:exact;
 -webkit-print-color-adjust:exact}}
)";

std::string BandClasses() {
    std::string css;
    for (std::size_t b = 0; b < kBandCount; ++b) {
        css += fmt::format(".b{}{{background:{}}}\n", b, kBandColours[b]);
    }
    return css;
}

std::string Plural(int64_t count, std::string_view one, std::string_view many) {
    return fmt::format("{} {}", FormatCount(count), count == 1 ? one : many);
}

// Whole-number percentage, halves rounded up; -1 when it cannot be told.
int64_t Percent(int64_t part, int64_t whole) {
    if (part < 0 || whole <= 0) return -1;
    return (200 * part + whole) / (2 * whole);
}

// The words of repetitions and 100% matches: what needs no translation.
int64_t CoveredWords(const DocumentSummary& row) {
    const int64_t repeated = row.band(Band::Repetitions).words;
    const int64_t exact = row.band(Band::Matches100).words;
    return repeated < 0 || exact < 0 ? -1 : repeated + exact;
}

class Page {
public:
    explicit Page(std::ostream& out) : out_(out) {}

    void Head(const BatchSummary& summary) {
        out_ << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
             << "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
             << "<title>Batch analysis: "
             << HtmlEscape(
                    Plural(static_cast<int64_t>(summary.documents.size()), "document", "documents"))
             << "</title>\n<style>" << kStyle << BandClasses() << "</style>\n</head>\n<body>\n";
    }

    void Context(const ReportContext& context) {
        out_ << "<header>\n<h1>Batch analysis</h1>\n";
        const std::pair<const char*, const std::wstring*> entries[] = {
            {"Translation memory", &context.tmPath},
            {"Target language", &context.targetLanguage},
            {"Generated", &context.generatedAt},
        };
        std::string list;
        for (const auto& [term, value] : entries) {
            if (value->empty()) continue;
            list += fmt::format("<dt>{}</dt><dd>{}</dd>\n", term, HtmlEscape(*value));
        }
        if (!list.empty()) out_ << "<dl class=\"context\">\n" << list << "</dl>\n";
        out_ << "</header>\n<main>\n";
    }

    void Summary(const BatchSummary& summary) {
        const auto documents = static_cast<int64_t>(summary.documents.size());
        const auto processed = static_cast<int64_t>(summary.ProcessedCount());
        const DocumentSummary& total = summary.total;
        out_ << "<section aria-labelledby=\"summary\">\n<h2 id=\"summary\">Summary</h2>\n"
             << "<ul class=\"figures\">\n";
        Figure(FormatCount(documents),
               fmt::format("{} ({} processed)", documents == 1 ? "document" : "documents",
                           FormatCount(processed)));
        Figure(FormatCount(total.words), total.words == 1 ? "word" : "words");
        Figure(FormatPercent(Percent(CoveredWords(total), total.words)),
               "in repetitions and 100% matches");
        Figure(FormatPercent(Percent(total.band(Band::NoMatches).words, total.words)),
               "with no match");
        out_ << "</ul>\n";
        if (processed < documents) {
            out_ << "<p class=\"warning\">"
                 << HtmlEscape(fmt::format("{} not processed; the totals leave {} out.",
                                           Plural(documents - processed, "document", "documents"),
                                           documents - processed == 1 ? "it" : "them"))
                 << "</p>\n";
        }
        out_ << "</section>\n";
    }

    void Bars(const BatchSummary& summary) {
        out_ << "<section aria-labelledby=\"bands\">\n"
             << "<h2 id=\"bands\">Words by match band</h2>\n<ul class=\"legend\">\n";
        for (std::size_t b = 0; b < kBandCount; ++b) {
            out_ << fmt::format("<li><span class=\"swatch b{}\"></span>{}</li>\n", b,
                                HtmlEscape(std::string(kBandLabels[b])));
        }
        out_ << "</ul>\n";
        Bar(L"All documents", L"", summary.total, summary.ProcessedCount() > 0);
        for (const auto& document : summary.documents) {
            Bar(DisplayName(document.path), document.path, document, document.processed);
        }
        out_ << "</section>\n";
    }

    void TotalsTable(const BatchSummary& summary) {
        const DocumentSummary& total = summary.total;
        out_ << "<section aria-labelledby=\"totals\">\n<h2 id=\"totals\">Totals</h2>\n"
             << "<table>\n<caption>All processed documents by match band</caption>\n"
             << "<thead><tr><th scope=\"col\">Band</th><th scope=\"col\">Segments</th>"
             << "<th scope=\"col\">Words</th><th scope=\"col\">Placeables</th>"
             << "<th scope=\"col\">Percent</th></tr></thead>\n<tbody>\n";
        for (std::size_t b = 0; b < kBandCount; ++b) {
            const BandCounts& band = total.bands[b];
            out_ << fmt::format(
                "<tr><th scope=\"row\"><span class=\"swatch b{}\"></span>{}</th>"
                "<td>{}</td><td>{}</td><td>{}</td><td>{}</td></tr>\n",
                b, HtmlEscape(std::string(kBandLabels[b])), FormatCount(band.segments),
                FormatCount(band.words), FormatCount(band.placeables), FormatPercent(band.percent));
        }
        out_ << fmt::format(
            "</tbody>\n<tfoot><tr><th scope=\"row\">Total</th><td>{}</td><td>{}</td><td>{}</td>"
            "<td></td></tr></tfoot>\n</table>\n",
            FormatCount(total.segments), FormatCount(total.words), FormatCount(total.placeables));
        out_ << fmt::format("<p>{} characters, {} characters per word, {}.</p>\n",
                            FormatCount(total.characters), FormatCharsPerWord(total.charsPerWord),
                            Plural(total.taggingErrors, "tagging error", "tagging errors"));
        out_ << "</section>\n";
    }

    void DocumentsTable(const BatchSummary& summary) {
        out_ << "<section aria-labelledby=\"documents\">\n"
             << "<h2 id=\"documents\">Documents</h2>\n<table>\n"
             << "<thead><tr><th scope=\"col\">Document</th><th scope=\"col\" "
                "class=\"text\">Status</th>"
             << "<th scope=\"col\">Words</th>"
             << "<th scope=\"col\">Repetitions and 100%</th>"
             << "<th scope=\"col\">Tagging errors</th><th scope=\"col\">Chars/word</th>"
             << "</tr></thead>\n<tbody>\n";
        for (const auto& document : summary.documents) {
            out_ << fmt::format("<tr><th scope=\"row\" title=\"{}\">{}</th>",
                                HtmlEscape(document.path), HtmlEscape(DisplayName(document.path)));
            if (!document.processed) {
                out_ << fmt::format(
                    "<td class=\"warning text\">{}</td><td></td><td></td><td></td>"
                    "<td></td></tr>\n",
                    document.processingError ? "processing error" : "not processed");
                continue;
            }
            out_ << fmt::format(
                "<td "
                "class=\"text\">processed</td><td>{}</td><td>{}</td><td>{}</td><td>{}</td></tr>\n",
                FormatCount(document.words),
                FormatPercent(Percent(CoveredWords(document), document.words)),
                FormatCount(document.taggingErrors), FormatCharsPerWord(document.charsPerWord));
        }
        out_ << "</tbody>\n</table>\n</section>\n";
    }

    void Tail() { out_ << "</main>\n</body>\n</html>\n"; }

private:
    void Figure(const std::string& value, const std::string& label) {
        out_ << "<li><span class=\"figure\">" << HtmlEscape(value) << "</span> "
             << HtmlEscape(label) << "</li>\n";
    }

    // The bar's widths come from the band words themselves, so that it always fills; the
    // titles give the log's own percentages.
    void Bar(const std::wstring& name, const std::wstring& path, const DocumentSummary& row,
             bool processed) {
        out_ << "<div class=\"doc\">\n<div class=\"doc-name\"";
        if (!path.empty()) out_ << " title=\"" << HtmlEscape(path) << "\"";
        out_ << ">" << HtmlEscape(name) << "</div>\n";
        int64_t words = 0;
        for (const auto& band : row.bands) words += band.words > 0 ? band.words : 0;
        if (!processed || words == 0) {
            const char* why = !processed ? (row.processingError ? "Processing error: not processed"
                                                                : "Not processed")
                                         : "No words";
            out_ << "<p class=\"empty\">" << why << "</p>\n</div>\n";
            return;
        }
        std::string described;
        std::string segments;
        for (std::size_t b = 0; b < kBandCount; ++b) {
            const BandCounts& band = row.bands[b];
            if (band.words <= 0) continue;
            const std::string title =
                fmt::format("{}: {} ({})", kBandLabels[b], Plural(band.words, "word", "words"),
                            FormatPercent(band.percent));
            segments +=
                fmt::format("<div class=\"b{}\" style=\"width:{:.3f}%\" title=\"{}\"></div>\n", b,
                            100.0 * static_cast<double>(band.words) / static_cast<double>(words),
                            HtmlEscape(title));
            described += (described.empty() ? "" : ", ") + title;
        }
        out_ << "<div class=\"bar\" role=\"img\" aria-label=\"" << HtmlEscape(described) << "\">\n"
             << segments << "</div>\n";
        out_ << "<div class=\"doc-facts\">"
             << HtmlEscape(
                    fmt::format("{}, {} chars/word, {}", Plural(row.words, "word", "words"),
                                FormatCharsPerWord(row.charsPerWord),
                                Plural(row.taggingErrors, "tagging error", "tagging errors")))
             << "</div>\n</div>\n";
    }

    std::ostream& out_;
};

}  // namespace

void WriteHtmlReport(std::ostream& out, const BatchSummary& summary, const ReportContext& context) {
    Page page(out);
    page.Head(summary);
    page.Context(context);
    page.Summary(summary);
    if (context.quote) WriteHtmlQuoteSection(out, summary, *context.quote);
    page.Bars(summary);
    page.TotalsTable(summary);
    page.DocumentsTable(summary);
    page.Tail();
}

}  // namespace orv::cli
