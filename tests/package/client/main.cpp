// A client of the installed component, as a C++ program outside this tree writes one: it
// includes the installed headers, links the installed libraries and analyses one document
// against a memory through the default services, with no wiring of its own.
#include <orvbatch/front/BatchAnalyse.h>

#include <iostream>
#include <string>

namespace {

// The test's paths are ASCII.
std::wstring Wide(const std::string& text) {
    return std::wstring(text.begin(), text.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: client MEMORY.tmx DOCUMENT LOGFILE\n";
        return 2;
    }
    try {
        orv::BatchAnalyse batch;
        batch.put_TranslationMemory(Wide(argv[1]));
        batch.put_TranslationMemoryUserName(L"demo");
        batch.put_TranslationMemoryTargetLanguageId(1031);
        batch.put_LogFileName(Wide(argv[3]));
        batch.get_Files()->Add(Wide(argv[2]));
        batch.Analyse();
        for (const auto& record : *batch.get_Files()) {
            if (!record->get_FileProcessed() || record->get_ProcessingError()) return 1;
            std::cout << "words " << record->get_WordsTotal() << "\n";
        }
        return 0;
    } catch (const orv::AutomationError& error) {
        std::wcerr << L"client: error " << error.number() << L": " << error.description() << L"\n";
        return 1;
    }
}
