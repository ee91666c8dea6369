// Feeds arbitrary bytes to every document reader as the content of a document: HTML, XML or
// SGML, XLIFF and PO. Each must give blocks or raise an AutomationError; anything else (a
// crash, a hang, a sanitizer report, another exception) is a finding. What they give must
// hold as many codes as marks, and split into segments that do too.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/doc/Document.h"
#include "engine/doc/DocumentSegmenter.h"
#include "platform/AutomationError.h"

namespace {

using namespace orv::engine;

// Inputs beyond this size only make each run slower, not the search better.
constexpr std::size_t kLargestInput = 1 << 16;

bool MarksMatchCodes(const Segment& segment) {
    std::size_t marks = 0;
    for (wchar_t c : segment.text) marks += c == kCodeMark;
    return marks == segment.codes.size();
}

const DocumentSettings& Settings() {
    static const DocumentSettings settings = [] {
        DocumentSettings s;
        s.sgml = ParseMarkupRules(L"[Inline]\nb, i, emph, ph\n[Skip]\nnote\n", MarkupRules());
        return s;
    }();
    return settings;
}

void Check(std::string_view bytes, DocumentFormat format) {
    static DocumentSegmenter segmenter(L"en");
    DocumentText document;
    try {
        document = ReadDocumentBytes(bytes, format, Settings());
    } catch (const orv::AutomationError&) {
        return;  // a damaged file is refused, as it may be
    }
    if (document.taggingErrors < 0) std::abort();
    for (const TextBlock& block : document.blocks) {
        if (!MarksMatchCodes(block.text)) std::abort();
    }
    for (const Segment& segment : segmenter.Split(document)) {
        if (!MarksMatchCodes(segment)) std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size > kLargestInput) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (DocumentFormat format :
         {DocumentFormat::Html, DocumentFormat::Xml, DocumentFormat::Xliff, DocumentFormat::Po})
        Check(bytes, format);
    return 0;
}
