#include "TesseraTMDouble.h"

#include <algorithm>
#include <cwchar>
#include <string>
#include <tuple>
#include <utility>

#include "DoublesState.h"
#include "JobFileReader.h"
#include "TesseraApplicationDouble.h"
#include "TextFiles.h"

namespace orv::testdoubles {
namespace {

constexpr int32_t kErrFileNotFound = 53;
constexpr int32_t kErrWrongPassword = 50003;
constexpr int32_t kErrNoTMOpen = 50010;
constexpr int32_t kErrNoSuchTargetLanguage = 50011;
constexpr int32_t kErrInvalidArgument = 5;

std::vector<int32_t> LanguageList(const std::wstring& text) {
    std::vector<int32_t> languages;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find(L',', start);
        if (end == std::wstring::npos) end = text.size();
        const std::wstring item = text.substr(start, end - start);
        if (item.find_first_not_of(L" \t") != std::wstring::npos)
            languages.push_back(static_cast<int32_t>(std::wcstol(item.c_str(), nullptr, 10)));
        start = end + 1;
    }
    return languages;
}

// The CSV log file beside `logFile`: the extension of its last component (everything from
// the last dot, a leading dot included) replaced by ".csv", or ".csv" appended.
std::wstring CsvLogFileFor(const std::wstring& logFile) {
    const size_t separator = logFile.find_last_of(L"\\/");
    const size_t nameStart = separator == std::wstring::npos ? 0 : separator + 1;
    const size_t dot = logFile.rfind(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot >= nameStart;
    return (hasExtension ? logFile.substr(0, dot) : logFile) + L".csv";
}

std::wstring ReplaceAll(std::wstring text, const std::wstring& from, const std::wstring& to) {
    for (size_t at = text.find(from); at != std::wstring::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::wstring WithJobPaths(std::wstring text, const JobFileContent& job) {
    text = ReplaceAll(std::move(text), L"{LogFile}", job.logFile);
    for (size_t i = 0; i < job.documents.size(); ++i)
        text =
            ReplaceAll(std::move(text), L"{File" + std::to_wstring(i + 1) + L"}", job.documents[i]);
    return text;
}

// A SAFEARRAY of the languages in the shape the test asked for.
OwnedVariant LanguageArray(const std::vector<int32_t>& languages, const std::wstring& shape,
                           int32_t lowerBound) {
    VARTYPE element = VT_VARIANT;
    if (_wcsicmp(shape.c_str(), L"Long") == 0) element = VT_I4;
    if (_wcsicmp(shape.c_str(), L"Integer") == 0) element = VT_I2;
    SAFEARRAYBOUND bound{static_cast<ULONG>(languages.size()), lowerBound};
    SAFEARRAY* array = SafeArrayCreate(element, 1, &bound);
    if (!array) throw DispatchError::Status(E_OUTOFMEMORY);
    OwnedVariant result;
    result.get()->vt = static_cast<VARTYPE>(VT_ARRAY | element);
    result.get()->parray = array;
    for (size_t i = 0; i < languages.size(); ++i) {
        LONG index = lowerBound + static_cast<LONG>(i);
        OwnedVariant item = OwnedVariant::FromLong(languages[i]);
        SHORT shortItem = static_cast<SHORT>(languages[i]);
        void* value = element == VT_VARIANT ? static_cast<void*>(item.get())
                      : element == VT_I4    ? static_cast<void*>(&item.get()->lVal)
                                            : static_cast<void*>(&shortItem);
        if (FAILED(SafeArrayPutElement(array, &index, value)))
            throw DispatchError::Status(E_OUTOFMEMORY);
    }
    return result;
}

}  // namespace

TesseraTMDouble::TesseraTMDouble(std::shared_ptr<ApplicationLink> link)
    : DispatchObject(L"TM", L"Tessapp"), link_(std::move(link)) {
    AddProperty(L"IsOpen",
                [this](DispatchCall& call) { call.Return(OwnedVariant::FromBoolean(open_)); });
    AddMethod(L"Open", [this](DispatchCall& call) { Open(call); });
    AddMethod(L"Close", [this](DispatchCall& call) { Close(call); });
    AddProperty(L"SourceLanguage", [this](DispatchCall& call) {
        call.Return(OwnedVariant::FromLong(sourceLanguage_));
    });
    AddProperty(L"TargetLanguages", [this](DispatchCall& call) { GetTargetLanguages(call); });
    AddProperty(L"TargetLanguage", {}, [this](DispatchCall& call) { PutTargetLanguage(call); });
    AddMethod(L"ExecuteJobFile", [this](DispatchCall& call) { ExecuteJobFile(call); });
    MarkOwnFailurePoint(L"ExecuteJobFile");
}

void TesseraTMDouble::BecomeCreated(int32_t sourceLanguage, int32_t targetLanguage) {
    open_ = true;
    sourceLanguage_ = sourceLanguage;
    targetLanguages_ = {targetLanguage};
}

void TesseraTMDouble::RequireOpen() const {
    if (!open_) throw DispatchError::Exception(kErrNoTMOpen, L"No TM is open");
}

void TesseraTMDouble::Open(DispatchCall& call) {
    call.ExpectArguments(4);
    const std::wstring path = call.String(0);
    const std::wstring user = call.String(1);
    const std::wstring password = call.String(2);
    const std::wstring mode = call.String(3);
    auto [expectedPassword, source, targets] =
        DoublesState::Instance().With([&](DoublesSettings& settings, DoublesRecord& record) {
            record.lastOpenArgs = path + L"|" + user + L"|" + password + L"|" + mode;
            return std::tuple(settings.tmPassword, settings.tmSourceLanguage,
                              settings.tmTargetLanguages);
        });
    if (!FileExists(path))
        throw DispatchError::Exception(kErrFileNotFound, L"Tessera cannot find the TM " + path);
    if (!expectedPassword.empty() && password != expectedPassword)
        throw DispatchError::Exception(kErrWrongPassword,
                                       L"Error 50003: the password is wrong for " + path);
    open_ = true;
    sourceLanguage_ = source;
    targetLanguages_ = LanguageList(targets);
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.tmOpened; });
}

void TesseraTMDouble::Close(DispatchCall& call) {
    call.ExpectArguments(0);
    open_ = false;
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.tmClosed; });
}

void TesseraTMDouble::GetTargetLanguages(DispatchCall& call) const {
    auto [shape, lowerBound, byReference] =
        DoublesState::Instance().With([](DoublesSettings& settings, DoublesRecord&) {
            return std::tuple(settings.targetLanguagesType, settings.targetLanguagesLowerBound,
                              settings.targetLanguagesByReference);
        });
    OwnedVariant languages = LanguageArray(targetLanguages_, shape, lowerBound);
    if (!byReference) {
        call.Return(std::move(languages));
        return;
    }
    // A reference stays valid while the TM lives, so the TM keeps what it refers to: a
    // Variant array as a reference to the Variant holding it, a typed array as a reference
    // to the array itself.
    handedOut_ = std::move(languages);
    OwnedVariant reference;
    VARIANT& held = *handedOut_.get();
    if (held.vt == (VT_ARRAY | VT_VARIANT)) {
        reference.get()->vt = VT_BYREF | VT_VARIANT;
        reference.get()->pvarVal = &held;
    } else {
        reference.get()->vt = static_cast<VARTYPE>(VT_BYREF | held.vt);
        reference.get()->pparray = &held.parray;
    }
    call.Return(std::move(reference));
}

void TesseraTMDouble::PutTargetLanguage(DispatchCall& call) {
    const int32_t language = call.Long(0);
    RequireOpen();
    if (std::find(targetLanguages_.begin(), targetLanguages_.end(), language) ==
        targetLanguages_.end())
        throw DispatchError::Exception(kErrNoSuchTargetLanguage, L"The TM has no target language " +
                                                                     std::to_wstring(language));
    DoublesState::Instance().With(
        [&](DoublesSettings&, DoublesRecord& record) { record.tmTargetLanguage = language; });
}

void TesseraTMDouble::ExecuteJobFile(DispatchCall& call) {
    call.ExpectArguments(1);
    const std::wstring path = call.String(0);
    if (path.empty()) throw DispatchError::Exception(kErrInvalidArgument, L"No job file given");
    RequireOpen();
    const std::wstring text = ReadAnsiTextFile(path);
    const JobFileContent job = ReadJobFileContent(text);
    auto settings = DoublesState::Instance().With([&](DoublesSettings& s, DoublesRecord& record) {
        record.lastJobFile = text;
        return s;
    });

    // The user cancels while the batch runs: the event comes before the call returns.
    if (settings.cancelProcessedFiles >= 0 && link_->connected())
        link_->application->RaiseBatchCancelled(settings.cancelProcessedFiles);
    // A subscriber may have quit the application meanwhile.
    if (!link_->connected()) throw DispatchError::Status(RPC_E_DISCONNECTED);
    FailIfAsked(L"ExecuteJobFile");

    if (!job.logFile.empty()) {
        WriteAnsiTextFile(job.logFile, WithJobPaths(settings.analysisLog, job));
        if (settings.writeCsvLog)
            WriteAnsiTextFile(CsvLogFileFor(job.logFile), WithJobPaths(settings.csvLog, job));
    }
    DoublesState::Instance().With(
        [](DoublesSettings&, DoublesRecord& record) { ++record.jobFilesRun; });
}

}  // namespace orv::testdoubles
