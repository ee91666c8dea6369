// Feeds arbitrary bytes to the job-file reader. It must give a job description or raise an
// AutomationError; anything else (a crash, a hang, a sanitizer report, another exception) is
// a finding.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "engine/job/JobFile.h"
#include "platform/AutomationError.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    try {
        orv::engine::ParseJobFile(std::string_view(reinterpret_cast<const char*>(data), size),
                                  L"fuzz");
    } catch (const orv::AutomationError&) {
        // A job that cannot be run is refused, as it should be.
    }
    return 0;
}
