#include "engine/text/PlainTextDocument.h"

#include <cstdint>
#include <optional>

#include "engine/model/EngineError.h"
#include "engine/system/FileFailure.h"
#include "engine/system/WholeFile.h"

namespace orv::engine {

namespace {

// In words: the reason fills a CSV cell that must not read as a number.
[[noreturn]] void RaiseTooLarge() {
    static_assert(kMaxDocumentFileBytes == std::uintmax_t{512} << 20, "say the new limit");
    RaiseEngineError(L"The file is larger than the half gigabyte a document may have");
}

}  // namespace

DecodedText DecodeDocumentText(std::string_view bytes, const std::string& givenEncoding) {
    DecodedText decoded;
    decoded.encoding = ChooseDocumentEncoding(bytes, std::nullopt, givenEncoding, false);
    decoded.text = DecodeToText(bytes, decoded.encoding);
    if (decoded.text.find(L'\0') != std::wstring::npos)
        RaiseEngineError(L"The file is not a plain-text file (it holds binary data)");
    return decoded;
}

std::wstring DecodePlainText(const std::string& bytes) {
    return DecodeDocumentText(bytes, "").text;
}

std::string ReadDocumentFileBytes(const std::wstring& path, const StopCheck& stop) {
    try {
        return ReadWholeFile(path, kMaxDocumentFileBytes, stop);
    } catch (const FileFailure& failure) {
        if (failure.problem() == FileProblem::TooLarge) RaiseTooLarge();
        RaiseEngineError(FileProblemSentence(failure.problem()));
    }
}

std::wstring ReadPlainTextDocument(const std::wstring& path) {
    return DecodePlainText(ReadDocumentFileBytes(path));
}

}  // namespace orv::engine
