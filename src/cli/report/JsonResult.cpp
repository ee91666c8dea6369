#include "cli/report/JsonResult.h"

#include "cli/report/ReportText.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

nlohmann::json Count(int64_t value) {
    return value < 0 ? nlohmann::json(nullptr) : nlohmann::json(value);
}

nlohmann::json RowJson(const DocumentSummary& row) {
    nlohmann::json object = nlohmann::json::object();
    object["FilePath"] = ToUtf8(row.path);
    object["Key"] = ToUtf8(row.key);
    object["FileProcessed"] = row.processed;
    object["ProcessingError"] = row.processingError;
    object["CharsPerWord"] =
        row.charsPerWord >= 0.0 ? nlohmann::json(row.charsPerWord) : nlohmann::json(nullptr);
#define ORV_JSON_FIELD(name) object[#name] = Count(CountOf(row, CountField::name));
    ORV_COUNT_FIELDS(ORV_JSON_FIELD)
#undef ORV_JSON_FIELD
    return object;
}

nlohmann::json PricedJson(const std::optional<PricedWords>& priced) {
    if (!priced) return nullptr;
    return {{"weightedWords", priced->weightedWords.ExactText()},
            {"exactCost", priced->exactCost.ExactText()},
            {"cost", priced->cost.Format(2)},
            {"minimumApplied", priced->minimumApplied}};
}

nlohmann::json GridJson(const RateGrid& grid) {
    nlohmann::json shares = nlohmann::json::object();
    for (std::size_t b = 0; b < kBandCount; ++b) {
        // A fraction with six digits is a percent with four.
        shares[std::string(kBandKeys[b])] =
            Decimal::FromUnits(grid.shares[b].units() * 100).ExactText(0);
    }
    return {{"currency", ToUtf8(FromNarrow(grid.currency))},
            {"pricePerWord", grid.pricePerWord.ExactText()},
            {"rounding", grid.rounding == Rounding::PerDocument ? "document" : "total"},
            {"minimumPerDocument", grid.minimumPerDocument.ExactText()},
            {"minimumPerJob", grid.minimumPerJob.ExactText()},
            {"shares", std::move(shares)}};
}

}  // namespace

nlohmann::json ResultJson(const BatchSummary& summary, const BatchQuote* quote) {
    nlohmann::json documents = nlohmann::json::array();
    for (std::size_t i = 0; i < summary.documents.size(); ++i) {
        documents.push_back(RowJson(summary.documents[i]));
        if (quote) documents.back()["quote"] = PricedJson(quote->documents[i]);
    }
    nlohmann::json total = RowJson(summary.total);
    if (quote) {
        nlohmann::json priced = GridJson(quote->grid);
        priced.update(quote->total ? PricedJson(quote->total)
                                   : nlohmann::json{{"weightedWords", nullptr},
                                                    {"exactCost", nullptr},
                                                    {"cost", nullptr},
                                                    {"minimumApplied", nullptr}});
        total["quote"] = std::move(priced);
    }
    return {{"documents", std::move(documents)}, {"total", std::move(total)}};
}

void WriteResultJson(std::ostream& out, const BatchSummary& summary, const BatchQuote* quote) {
    out << ResultJson(summary, quote).dump(2) << '\n';
}

}  // namespace orv::cli
