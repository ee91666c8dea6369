#include "ControlObject.h"

#include <oleauto.h>

#include <algorithm>
#include <cwchar>

#include "ClassIds.h"
#include "TesseraApplicationDouble.h"

namespace orv::testdoubles {
namespace {

std::wstring Lines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines) {
        if (!text.empty()) text += L"\r\n";
        text += line;
    }
    return text;
}

bool WordIsRunning() {
    IUnknown* running = nullptr;
    if (FAILED(GetActiveObject(kWordApplicationClassId, nullptr, &running)) || !running)
        return false;
    running->Release();
    return true;
}

template <typename F>
auto WithState(F&& f) {
    return DoublesState::Instance().With(std::forward<F>(f));
}

}  // namespace

HRESULT ControlObject::Create(REFIID iid, void** object) {
    return MakeObject<ControlObject>()->QueryInterface(iid, object);
}

void ControlObject::AddSetting(const wchar_t* name, std::wstring DoublesSettings::*field) {
    AddProperty(
        name,
        [field](DispatchCall& call) {
            call.Return(OwnedVariant::FromString(
                WithState([&](DoublesSettings& s, DoublesRecord&) { return s.*field; })));
        },
        [field](DispatchCall& call) {
            const std::wstring value = call.String(0);
            WithState([&](DoublesSettings& s, DoublesRecord&) { s.*field = value; });
        });
}

void ControlObject::AddSetting(const wchar_t* name, int32_t DoublesSettings::*field) {
    AddProperty(
        name,
        [field](DispatchCall& call) {
            call.Return(OwnedVariant::FromLong(
                WithState([&](DoublesSettings& s, DoublesRecord&) { return s.*field; })));
        },
        [field](DispatchCall& call) {
            const int32_t value = call.Long(0);
            WithState([&](DoublesSettings& s, DoublesRecord&) { s.*field = value; });
        });
}

void ControlObject::AddSetting(const wchar_t* name, bool DoublesSettings::*field) {
    AddProperty(
        name,
        [field](DispatchCall& call) {
            call.Return(OwnedVariant::FromBoolean(
                WithState([&](DoublesSettings& s, DoublesRecord&) { return s.*field; })));
        },
        [field](DispatchCall& call) {
            const bool value = call.Boolean(0);
            WithState([&](DoublesSettings& s, DoublesRecord&) { s.*field = value; });
        });
}

void ControlObject::AddRecord(const wchar_t* name, int32_t DoublesRecord::*field) {
    AddProperty(name, [field](DispatchCall& call) {
        call.Return(OwnedVariant::FromLong(
            WithState([&](DoublesSettings&, DoublesRecord& r) { return r.*field; })));
    });
}

void ControlObject::AddRecord(const wchar_t* name, std::wstring DoublesRecord::*field) {
    AddProperty(name, [field](DispatchCall& call) {
        call.Return(OwnedVariant::FromString(
            WithState([&](DoublesSettings&, DoublesRecord& r) { return r.*field; })));
    });
}

void ControlObject::AddRecord(const wchar_t* name,
                              std::vector<std::wstring> DoublesRecord::*field) {
    AddProperty(name, [field](DispatchCall& call) {
        call.Return(OwnedVariant::FromString(
            WithState([&](DoublesSettings&, DoublesRecord& r) { return Lines(r.*field); })));
    });
}

ControlObject::ControlObject() : DispatchObject(L"Control", L"OrvTestDoubles", false) {
    AddSetting(L"AnalysisLog", &DoublesSettings::analysisLog);
    AddSetting(L"CsvLog", &DoublesSettings::csvLog);
    AddSetting(L"WriteCsvLog", &DoublesSettings::writeCsvLog);
    AddSetting(L"TMPassword", &DoublesSettings::tmPassword);
    AddSetting(L"TMSourceLanguage", &DoublesSettings::tmSourceLanguage);
    AddSetting(L"TMTargetLanguages", &DoublesSettings::tmTargetLanguages);
    AddSetting(L"TargetLanguagesForm", &DoublesSettings::targetLanguagesType);
    AddSetting(L"TargetLanguagesLowerBound", &DoublesSettings::targetLanguagesLowerBound);
    AddSetting(L"TargetLanguagesByReference", &DoublesSettings::targetLanguagesByReference);
    AddSetting(L"CancelProcessedFiles", &DoublesSettings::cancelProcessedFiles);
    AddSetting(L"EventDispId", &DoublesSettings::eventDispId);
    AddSetting(L"EventByReference", &DoublesSettings::eventByReference);
    AddSetting(L"TesseraCreationError", &DoublesSettings::tesseraCreationError);
    AddSetting(L"WordCreationError", &DoublesSettings::wordCreationError);
    AddProperty(
        L"WordRunning",
        [](DispatchCall& call) { call.Return(OwnedVariant::FromBoolean(WordIsRunning())); },
        [](DispatchCall& call) { DoublesState::Instance().SetUserWordRunning(call.Boolean(0)); });

    AddMethod(L"Reset", [](DispatchCall& call) {
        call.ExpectArguments(0);
        DoublesState::Instance().Reset();
    });
    AddMethod(L"FailMember", [](DispatchCall& call) {
        call.ExpectArguments(4);
        const std::wstring member = call.String(0);
        const int32_t number = call.Long(1);
        const std::wstring description = call.String(2);
        const int32_t times = call.Long(3);
        WithState([&](DoublesSettings& s, DoublesRecord&) {
            s.failMember = member;
            s.failNumber = number;
            s.failDescription = description;
            s.failTimes = times;
        });
    });
    AddMethod(L"RaiseBatchCancelled", [](DispatchCall& call) {
        call.ExpectArguments(1);
        const int32_t processedFiles = call.Long(0);
        for (const auto& application : DoublesState::Instance().RunningApplications())
            application->RaiseBatchCancelled(processedFiles);
    });
    AddMethod(L"CallCount", [](DispatchCall& call) {
        call.ExpectArguments(1);
        const std::wstring wanted = call.String(0);
        const auto count = WithState([&](DoublesSettings&, DoublesRecord& r) {
            return std::count_if(r.calls.begin(), r.calls.end(), [&](const std::wstring& c) {
                return _wcsicmp(c.c_str(), wanted.c_str()) == 0;
            });
        });
        call.Return(OwnedVariant::FromLong(static_cast<int32_t>(count)));
    });

    AddRecord(L"CallLog", &DoublesRecord::calls);
    AddRecord(L"OptionWrites", &DoublesRecord::optionWrites);
    AddRecord(L"LastOpenArguments", &DoublesRecord::lastOpenArgs);
    AddRecord(L"LastCreateTMArguments", &DoublesRecord::lastCreateTMArgs);
    AddRecord(L"LastJobFile", &DoublesRecord::lastJobFile);
    AddRecord(L"TargetLanguageSet", &DoublesRecord::tmTargetLanguage);
    AddRecord(L"TesseraCreated", &DoublesRecord::tesseraCreated);
    AddRecord(L"TesseraQuit", &DoublesRecord::tesseraQuit);
    AddRecord(L"WordCreated", &DoublesRecord::wordCreated);
    AddRecord(L"WordQuit", &DoublesRecord::wordQuit);
    AddRecord(L"TMOpened", &DoublesRecord::tmOpened);
    AddRecord(L"TMClosed", &DoublesRecord::tmClosed);
    AddRecord(L"TMCreated", &DoublesRecord::tmCreated);
    AddRecord(L"JobFilesRun", &DoublesRecord::jobFilesRun);
    AddProperty(L"TesseraRunning", [](DispatchCall& call) {
        const auto running = DoublesState::Instance().RunningApplications();
        call.Return(OwnedVariant::FromLong(static_cast<int32_t>(running.size())));
    });
    AddProperty(L"EventConnections", [](DispatchCall& call) {
        call.Return(OwnedVariant::FromLong(DoublesState::Instance().Connections()));
    });
}

}  // namespace orv::testdoubles
