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

}  // namespace

void ReportComponentError(std::ostream& err, const AutomationError& error) {
    err << "orvbatch: error " << error.number() << ": " << Indented(error.description()) << "\n";
    if (const std::string meaning = ExplainError(error.number()); !meaning.empty())
        err << "orvbatch: " << meaning << "\n";
    if (error.number() == ovOrvBatchAnalyseErrorDuringAnalysis) {
        if (const std::wstring why = engine::LastJobFailure(); !why.empty())
            err << "orvbatch: the engine reported: " << Indented(why) << "\n";
    }
}

void ReportUsageError(std::ostream& err, const std::string& text, const std::string& helpCommand) {
    err << "orvbatch: error: " << text << "\n"
        << "Run '" << helpCommand << "' for the options.\n";
}

}  // namespace orv::cli
