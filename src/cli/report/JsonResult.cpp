#include "cli/report/JsonResult.h"

#include "cli/report/ReportText.h"

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

}  // namespace

nlohmann::json ResultJson(const BatchSummary& summary) {
    nlohmann::json documents = nlohmann::json::array();
    for (const auto& row : summary.documents) documents.push_back(RowJson(row));
    return {{"documents", std::move(documents)}, {"total", RowJson(summary.total)}};
}

void WriteResultJson(std::ostream& out, const BatchSummary& summary) {
    out << ResultJson(summary).dump(2) << '\n';
}

}  // namespace orv::cli
