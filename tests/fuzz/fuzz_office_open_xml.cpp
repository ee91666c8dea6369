// Feeds arbitrary Office Open XML packages to the Word, Excel and PowerPoint readers: a zip as
// it is, or a list of parts zipped first (PartList.h). Each must give blocks or raise an
// AutomationError (DocumentChecks.h).

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
    const std::string container =
        orv::fuzz::ContainerOf(std::string_view(reinterpret_cast<const char*>(data), size));
    if (container.empty()) return 0;
    static const orv::engine::DocumentSettings settings;
    static orv::engine::DocumentSettings footnotesSplit = [] {
        orv::engine::DocumentSettings s;
        s.multiSegmentFootnotes = true;
        return s;
    }();
    orv::fuzz::CheckDocument(container, DocumentFormat::Word, settings);
    orv::fuzz::CheckDocument(container, DocumentFormat::Word, footnotesSplit);
    orv::fuzz::CheckDocument(container, DocumentFormat::Excel, settings);
    orv::fuzz::CheckDocument(container, DocumentFormat::PowerPoint, settings);
    return 0;
}
