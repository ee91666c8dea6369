// Feeds arbitrary OpenDocument files to its readers: a zip as it is, or a list of parts zipped
// first (PartList.h), to the packed form's reader; the input itself to the flat form's. Each
// must give blocks or raise an AutomationError (DocumentChecks.h).

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "DocumentChecks.h"
#include "PartList.h"

namespace {

// Inputs beyond this size only make each run slower, not the search better.
constexpr std::size_t kLargestInput = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using orv::engine::DocumentFormat;
    if (size > kLargestInput) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    static orv::engine::DocumentSettings settings;
    static orv::engine::DocumentSettings footnotesSplit = [] {
        orv::engine::DocumentSettings s;
        s.multiSegmentFootnotes = true;
        return s;
    }();
    const std::string container = orv::fuzz::ContainerOf(input);
    if (!container.empty()) {
        orv::fuzz::CheckDocument(container, DocumentFormat::OpenDocument, settings);
        orv::fuzz::CheckDocument(container, DocumentFormat::OpenDocument, footnotesSplit);
    }
    orv::fuzz::CheckDocument(input, DocumentFormat::FlatOpenDocument, settings);
    return 0;
}
