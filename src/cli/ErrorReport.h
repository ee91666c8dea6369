#pragma once
// How orvbatch tells the user that something failed: one line a script can parse
// ("orvbatch: error NNNNN: message"), then what the number means, then the engine's own
// words when the analysis failed inside it.

#include <ostream>
#include <string>

#include "platform/AutomationError.h"

namespace orv::engine {
class EngineControl;
}

namespace orv::cli {

// `control`: the control of the engine that ran the failed call, whose failure texts explain
// it; none when no engine ran it.
void ReportComponentError(std::ostream& err, const AutomationError& error,
                          const engine::EngineControl* control = nullptr);

// "orvbatch: error: <text>" and where to find help, for a command line that makes no sense.
void ReportUsageError(std::ostream& err, const std::string& text, const std::string& helpCommand);

}  // namespace orv::cli
