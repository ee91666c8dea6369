#include "cli/report/HtmlQuoteSection.h"

#include <fmt/format.h>

#include <string>

#include "cli/report/ReportText.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

std::string Money(const Decimal& amount, const std::string& currency) {
    return HtmlEscape(FromNarrow(amount.Format(2, true) + " " + currency));
}

std::string Percent(const Decimal& fraction) {
    return Decimal::FromUnits(fraction.units() * 100).ExactText(0) + "%";
}

void Grid(std::ostream& out, const RateGrid& grid) {
    const std::string none = "none";
    const auto minimum = [&](const Decimal& amount) {
        return amount == Decimal() ? none : Money(amount, grid.currency);
    };
    out << "<dl class=\"context\">\n"
        << fmt::format("<dt>Rate grid</dt><dd>{}</dd>\n", HtmlEscape(FromNarrow(grid.file)))
        << fmt::format("<dt>Price of a new word</dt><dd>{} {}</dd>\n",
                       grid.pricePerWord.ExactText(), HtmlEscape(FromNarrow(grid.currency)))
        << fmt::format("<dt>Minimum per document</dt><dd>{}</dd>\n",
                       minimum(grid.minimumPerDocument))
        << fmt::format("<dt>Minimum per job</dt><dd>{}</dd>\n", minimum(grid.minimumPerJob))
        << fmt::format("<dt>Rounding</dt><dd>{}</dd>\n",
                       grid.rounding == Rounding::PerDocument
                           ? "each document's cost to the cent; the total is their sum"
                           : "the exact costs summed, the total to the cent once")
        << "</dl>\n";
    out << "<table>\n<caption>Share of the price paid per band</caption>\n"
        << "<thead><tr><th scope=\"col\">Band</th><th scope=\"col\">Share</th></tr></thead>\n"
        << "<tbody>\n";
    for (std::size_t b = 0; b < kBandCount; ++b) {
        out << fmt::format("<tr><th scope=\"row\">{}</th><td>{}</td></tr>\n",
                           HtmlEscape(std::string(kBandLabels[b])), Percent(grid.shares[b]));
    }
    out << "</tbody>\n</table>\n";
}

std::string Cells(const std::optional<PricedWords>& priced, const std::string& currency,
                  const char* minimum) {
    if (!priced) return "<td>n/a</td><td>n/a</td><td class=\"text\"></td>";
    return fmt::format("<td>{}</td><td>{}</td><td class=\"text\">{}</td>",
                       priced->weightedWords.Format(2, true), Money(priced->cost, currency),
                       priced->minimumApplied ? minimum : "");
}

void Costs(std::ostream& out, const BatchSummary& summary, const BatchQuote& quote) {
    const std::string& currency = quote.grid.currency;
    out << "<table>\n<caption>Cost per document</caption>\n"
        << "<thead><tr><th scope=\"col\">Document</th><th scope=\"col\">Words</th>"
        << "<th scope=\"col\">Weighted words</th><th scope=\"col\">Cost</th>"
        << "<th scope=\"col\" class=\"text\">Note</th></tr></thead>\n<tbody>\n";
    for (std::size_t i = 0; i < summary.documents.size(); ++i) {
        const DocumentSummary& document = summary.documents[i];
        out << fmt::format("<tr><th scope=\"row\" title=\"{}\">{}</th>", HtmlEscape(document.path),
                           HtmlEscape(DisplayName(document.path)));
        if (!document.processed) {
            out << "<td></td><td></td><td></td>"
                   "<td class=\"warning text\">not analysed: no cost</td></tr>\n";
            continue;
        }
        out << fmt::format("<td>{}</td>{}</tr>\n", FormatCount(document.words),
                           Cells(quote.documents[i], currency, "minimum per document"));
    }
    out << fmt::format(
        "</tbody>\n<tfoot><tr><th scope=\"row\">Total</th><td>{}</td>{}</tr></tfoot>\n"
        "</table>\n",
        FormatCount(summary.total.words), Cells(quote.total, currency, "minimum per job"));
    if (quote.grid.rounding == Rounding::OnTotal)
        out << "<p>The documents' costs are rounded for reading only: the total is their exact "
               "sum, rounded to the cent once.</p>\n";
}

}  // namespace

void WriteHtmlQuoteSection(std::ostream& out, const BatchSummary& summary,
                           const BatchQuote& quote) {
    out << "<section aria-labelledby=\"quote\">\n<h2 id=\"quote\">Quote</h2>\n"
        << "<ul class=\"figures\">\n";
    const auto figure = [&](const std::string& value, const char* label) {
        out << "<li><span class=\"figure\">" << value << "</span> " << label << "</li>\n";
    };
    if (quote.total) {
        figure(Money(quote.total->cost, quote.grid.currency),
               quote.total->minimumApplied ? "to pay (the minimum per job)" : "to pay");
        figure(quote.total->weightedWords.Format(2, true), "weighted words");
    } else {
        figure("n/a", "to pay: a document's log lacks the words of a band the grid prices");
    }
    out << "</ul>\n";
    Grid(out, quote.grid);
    Costs(out, summary, quote);
    out << "</section>\n";
}

}  // namespace orv::cli
