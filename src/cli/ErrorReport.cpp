#include "cli/ErrorReport.h"

#include "cli/ErrorExplanation.h"
#include "engine/app/EngineControl.h"
#include "front/OrvBatchAnalyseErrors.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

// The component's messages break lines with CR LF; on a terminal the later lines are
// indented under the first.
std::string Indented(const std::wstring& message) {
    std::string text = ToNarrow(message);
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
        if (text[i] == '\n') out += "    ";
    }
    return out;
}

// The engine's own words on what failed, where the component's number stands for a failure
// of the engine's: the job's for 40002, the TM's for the failures to open it.
std::wstring EngineReason(int32_t number, const engine::EngineControl* control) {
    if (!control) return {};
    switch (number) {
        case ovOrvBatchAnalyseErrorDuringAnalysis:
            return control->LastJobFailure();
        case ovOrvBatchAnalyseErrorUnableToOpenTM:
        case ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword:
            return control->LastTmOpenFailure();
        default:
            return {};
    }
}

}  // namespace

void ReportComponentError(std::ostream& err, const AutomationError& error,
                          const engine::EngineControl* control) {
    err << "orvbatch: error " << error.number() << ": " << Indented(error.description()) << "\n";
    const std::wstring why = EngineReason(error.number(), control);
    std::string meaning = ExplainError(error.number());
    // The list of what may be wrong with a TM would only blur the engine's one reason.
    if (error.number() == ovOrvBatchAnalyseErrorUnableToOpenTM && !why.empty())
        meaning = "The translation memory could not be opened.";
    if (!meaning.empty()) err << "orvbatch: " << meaning << "\n";
    if (!why.empty()) err << "orvbatch: the engine reported: " << Indented(why) << "\n";
}

void ReportUsageError(std::ostream& err, const std::string& text, const std::string& helpCommand) {
    err << "orvbatch: error: " << text << "\n"
        << "Run '" << helpCommand << "' for the options.\n";
}

}  // namespace orv::cli
