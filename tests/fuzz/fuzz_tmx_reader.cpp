// Feeds arbitrary bytes to the TMX reader as the content of a TM file. The reader must give a
// TM or raise an AutomationError; anything else (a crash, a hang, a sanitizer report, another
// exception) is a finding. A TM it gives must survive being written and read again.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"

namespace {

// Every inline code has its mark in the text, and every mark its code.
bool MarksMatchCodes(const orv::engine::Segment& segment) {
    std::size_t marks = 0;
    for (wchar_t c : segment.text) marks += c == orv::engine::kCodeMark;
    return marks == segment.codes.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orv::engine;
    TranslationMemory tm;
    try {
        tm = ReadTmxBytes(std::string_view(reinterpret_cast<const char*>(data), size), L"fuzz");
    } catch (const orv::AutomationError&) {
        return 0;  // a damaged file is refused, as it should be
    }
    for (const TranslationUnit& unit : tm.units) {
        if (!MarksMatchCodes(unit.source)) std::abort();
        for (const Variant& target : unit.targets) {
            if (target.language.empty() || !MarksMatchCodes(target.segment)) std::abort();
        }
    }
    // What was read can be written, and reads back with as many units.
    if (tm.sourceLanguage.empty() && !tm.units.empty()) std::abort();
    const TranslationMemory again = ReadTmxBytes(TmxText(tm), L"fuzz again");
    if (again.units.size() != tm.units.size()) std::abort();
    return 0;
}
