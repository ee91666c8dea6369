#include "cli/report/ResultTable.h"

#include <fmt/format.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "cli/report/ReportText.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

constexpr std::size_t kLineWidth = 80;
constexpr std::size_t kNameWidth = 40;
constexpr std::string_view kIndent = "  ";
constexpr std::string_view kGap = "  ";

constexpr std::string_view kBold = "\x1b[1m";
constexpr std::string_view kRed = "\x1b[31m";
constexpr std::string_view kReset = "\x1b[0m";

// One row of a band table, already formatted.
struct Row {
    std::string label;
    std::string segments;
    std::string words;
    std::string percent;
};

std::vector<Row> RowsOf(const DocumentSummary& document) {
    std::vector<Row> rows;
    for (std::size_t b = 0; b < kBandCount; ++b) {
        const BandCounts& band = document.bands[b];
        rows.push_back({std::string(kBandLabels[b]), FormatCount(band.segments),
                        FormatCount(band.words), FormatPercent(band.percent)});
    }
    // Band percentages need not add up to 100, so the total shows none.
    rows.push_back({"Total", FormatCount(document.segments), FormatCount(document.words), ""});
    return rows;
}

struct Widths {
    std::size_t label = 0;
    std::size_t segments = 0;
    std::size_t words = 0;
    std::size_t percent = 0;

    void Fit(const Row& row) {
        label = std::max(label, row.label.size());
        segments = std::max(segments, row.segments.size());
        words = std::max(words, row.words.size());
        percent = std::max(percent, row.percent.size());
    }
};

class TableWriter {
public:
    TableWriter(std::ostream& out, const TableStyle& style) : out_(out), style_(style) {}

    void SetWidths(const Widths& widths) { widths_ = widths; }

    // "name  (details)" on one line when it fits, else the details on a line of their own.
    void Title(const std::wstring& name, const std::string& details, bool failed) {
        const std::string narrowName = ToNarrow(name);
        const std::size_t columns = name.size() + kGap.size() + details.size() + 2;
        out_ << Styled(narrowName, kBold);
        if (columns <= kLineWidth) {
            out_ << kGap;
        } else {
            out_ << '\n' << kIndent;
        }
        out_ << Styled("(" + details + ")", failed ? kRed : std::string_view{}) << '\n';
    }

    void Line(const std::string& text) { out_ << text << '\n'; }

    void Table(const std::vector<Row>& rows) {
        Emit(Row{"Band", "Segments", "Words", "Percent"}, {});
        for (std::size_t i = 0; i < rows.size(); ++i) {
            Emit(rows[i], i + 1 == rows.size() ? kBold : std::string_view{});
        }
    }

private:
    std::string Styled(const std::string& text, std::string_view sgr) const {
        if (!style_.color || sgr.empty()) return text;
        return std::string(sgr) + text + std::string(kReset);
    }

    void Emit(const Row& row, std::string_view sgr) {
        std::string line = fmt::format("{:<{}}{}{:>{}}{}{:>{}}{}{:>{}}", row.label, widths_.label,
                                       kGap, row.segments, widths_.segments, kGap, row.words,
                                       widths_.words, kGap, row.percent, widths_.percent);
        line.erase(line.find_last_not_of(' ') + 1);
        out_ << kIndent << Styled(line, sgr) << '\n';
    }

    std::ostream& out_;
    const TableStyle& style_;
    Widths widths_;
};

std::string DocumentDetails(const DocumentSummary& document) {
    if (!document.processed) {
        return document.processingError ? "not processed: processing error" : "not processed";
    }
    return fmt::format("{} tagging errors, {} chars/word", FormatCount(document.taggingErrors),
                       FormatCharsPerWord(document.charsPerWord));
}

std::string BatchDetails(const BatchSummary& summary) {
    const std::size_t processed = summary.ProcessedCount();
    std::string details =
        fmt::format("{} of {} documents processed", processed, summary.documents.size());
    if (processed == 0) return details;
    return details + fmt::format(", {} tagging errors, {} chars/word",
                                 FormatCount(summary.total.taggingErrors),
                                 FormatCharsPerWord(summary.total.charsPerWord));
}

// What the memory already covers: the words a translator need not touch.
std::string CoverageLine(const DocumentSummary& total) {
    const int64_t repeated = total.band(Band::Repetitions).words;
    const int64_t exact = total.band(Band::Matches100).words;
    if (total.words <= 0 || repeated < 0 || exact < 0) return {};
    const int64_t covered = repeated + exact;
    const int64_t percent = (200 * covered + total.words) / (2 * total.words);
    return fmt::format("Repetitions and 100% matches: {} of {} words ({}%)", FormatCount(covered),
                       FormatCount(total.words), percent);
}

// The payable figures under a block of bands; `notes` say what the cost includes.
void QuoteLines(TableWriter& writer, const std::optional<PricedWords>& priced,
                const std::string& currency, std::vector<std::string> notes) {
    if (!priced) {
        writer.Line(std::string(kIndent) +
                    "Weighted words: n/a (the log lacks the words of a band the grid prices)");
        writer.Line(std::string(kIndent) + "Cost: n/a");
        return;
    }
    writer.Line(
        fmt::format("{}Weighted words: {}", kIndent, priced->weightedWords.Format(2, true)));
    std::string note;
    for (const auto& text : notes) note += (note.empty() ? "(" : "; ") + text;
    if (!note.empty()) note += ")";
    const std::string cost =
        fmt::format("{}Cost: {} {}", kIndent, priced->cost.Format(2, true), currency);
    if (note.empty()) return writer.Line(cost);
    // A long amount in a long currency name would push the note past the line's end.
    if (FromNarrow(cost).size() + 1 + note.size() <= kLineWidth)
        return writer.Line(cost + " " + note);
    writer.Line(cost);
    writer.Line(std::string(kIndent) + std::string(kIndent) + note);
}

void DocumentQuoteLines(TableWriter& writer, const std::optional<PricedWords>& priced,
                        const RateGrid& grid) {
    std::vector<std::string> notes;
    if (priced && priced->minimumApplied) notes.push_back("minimum per document");
    if (grid.rounding == Rounding::OnTotal) notes.push_back("rounded for reading");
    QuoteLines(writer, priced, grid.currency, notes);
}

void TotalQuoteLines(TableWriter& writer, const BatchQuote& quote) {
    std::vector<std::string> notes;
    if (quote.total && quote.total->minimumApplied) notes.push_back("minimum per job");
    QuoteLines(writer, quote.total, quote.grid.currency, notes);
    if (quote.grid.rounding == Rounding::OnTotal)
        writer.Line(std::string(kIndent) +
                    "Document costs are rounded for reading only; the total is rounded once.");
}

}  // namespace

void WriteResultTable(std::ostream& out, const BatchSummary& summary, const TableStyle& style,
                      const BatchQuote* quote) {
    TableWriter writer(out, style);
    if (summary.documents.empty()) {
        writer.Line("No documents in the batch.");
        return;
    }

    // One set of widths for every block, so that the columns line up down the whole output.
    Widths widths;
    widths.Fit(Row{"Band", "Segments", "Words", "Percent"});
    for (const auto& document : summary.documents) {
        if (!document.processed) continue;
        for (const auto& row : RowsOf(document)) widths.Fit(row);
    }
    for (const auto& row : RowsOf(summary.total)) widths.Fit(row);
    writer.SetWidths(widths);

    for (std::size_t i = 0; i < summary.documents.size(); ++i) {
        const DocumentSummary& document = summary.documents[i];
        const std::wstring name =
            ShortenMiddle(WithoutControlCharacters(DisplayName(document.path)), kNameWidth);
        writer.Title(name, DocumentDetails(document), !document.processed);
        if (document.processed) {
            writer.Table(RowsOf(document));
            if (quote) DocumentQuoteLines(writer, quote->documents[i], quote->grid);
        }
        writer.Line("");
    }

    const bool anyProcessed = summary.ProcessedCount() > 0;
    writer.Title(L"All documents", BatchDetails(summary),
                 summary.ProcessedCount() < summary.documents.size());
    if (!anyProcessed) return;
    writer.Table(RowsOf(summary.total));
    if (quote) TotalQuoteLines(writer, *quote);
    const std::string coverage = CoverageLine(summary.total);
    if (!coverage.empty()) writer.Line(std::string(kIndent) + coverage);
}

}  // namespace orv::cli
