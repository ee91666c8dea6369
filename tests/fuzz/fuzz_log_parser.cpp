// Feeds arbitrary bytes to the parser as the content of a CSV log file. The parser must fill
// records or raise an AutomationError; anything else (a crash, a sanitizer report, another
// exception) is a finding.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/AutomationError.h"
#include "results/Files.h"
#include "results/clsLogFileParser.h"

namespace orv {

struct clsLogFileParserFuzzAccess {
    static void Parse(clsLogFileParser& parser, const std::string& bytes, Files& files) {
        parser.ParseLogLines(clsLogFileParser::SplitLogLines(bytes), files);
    }
};

}  // namespace orv

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    using namespace orv;
    Files files;
    // Short paths the fuzzer can find, twins in another case and an empty path.
    for (const wchar_t* path : {L"a", L"A", L"b", L"", L"c:\\docs\\a.rtf"}) files.Add(path);

    clsLogFileParser parser;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        clsLogFileParserFuzzAccess::Parse(parser, bytes, files);
        clsLogFileParserFuzzAccess::Parse(parser, bytes, files);  // a second parse appends
    } catch (const AutomationError&) {
        // Conversion errors of the log's numbers are an expected outcome.
    }

    // The full text, when there is one, ends with the accepted rows.
    const std::wstring& full = parser.GetCsvLogFileContent();
    const std::wstring& rows = parser.GetCsvLogFileContentWithoutHeader();
    if (!full.empty() && full.compare(full.size() - rows.size(), rows.size(), rows) != 0) {
        std::abort();
    }
    return 0;
}
