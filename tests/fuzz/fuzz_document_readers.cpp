// Feeds arbitrary bytes to every document reader as the content of a document: HTML, XML or
// SGML, XLIFF and PO. Each must give blocks or raise an AutomationError (DocumentChecks.h);
// anything else (a crash, a hang, a sanitizer report, another exception) is a finding.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "DocumentChecks.h"

namespace {

using namespace orv::engine;

// Inputs beyond this size only make each run slower, not the search better.
constexpr std::size_t kLargestInput = 1 << 16;

const DocumentSettings& Settings() {
    static const DocumentSettings settings = [] {
        DocumentSettings s;
        s.sgml = ParseMarkupRules(L"[Inline]\nb, i, emph, ph\n[Skip]\nnote\n", MarkupRules());
        return s;
    }();
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (DocumentFormat format :
         {DocumentFormat::Html, DocumentFormat::Xml, DocumentFormat::Xliff, DocumentFormat::Po})
        orv::fuzz::CheckDocument(bytes, format, Settings());
    return 0;
}
