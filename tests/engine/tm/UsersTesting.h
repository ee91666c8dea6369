#pragma once
// Helpers of the protected-TM tests: a small TM written into a temporary folder, the error a
// piece of work raises, and an engine TM object to open it with.

#include <optional>
#include <string>

#include "engine/app/EngineApplication.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine::test {

using orv::test::ReadBytes;
using orv::test::TempFolder;

// One unit, en-US to de-DE, and no users: a TM anyone may open.
inline std::wstring WriteSmallTm(const TempFolder& folder, const std::string& name = "tm.tmx") {
    TranslationMemory tm;
    tm.sourceLanguage = L"en-US";
    tm.targetLanguages = {L"de-DE"};
    tm.units.push_back(
        {{L"The printer is ready.", {}}, {{L"de-DE", {L"Der Drucker ist bereit.", {}}}}});
    WriteTmxFile(tm, folder.wpath(name));
    return folder.wpath(name);
}

template <class Work>
std::optional<AutomationError> RaisedBy(Work&& work) {
    try {
        work();
    } catch (const AutomationError& error) {
        return error;
    }
    return std::nullopt;
}

// What opening `path` with the TM object of `app` raises; none when the TM opened.
inline std::optional<AutomationError> OpenFails(EngineApplication& app, const std::wstring& path,
                                                const std::wstring& user,
                                                const std::wstring& password,
                                                const std::wstring& mode = L"r") {
    return RaisedBy([&] { app.get_CurrentTM()->Open(path, user, password, mode); });
}

// How often `part` occurs in `text`.
inline std::size_t Occurrences(const std::wstring& text, const std::wstring& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

}  // namespace orv::engine::test
