#pragma once
// Helpers of the protected-TM tests: a small TM in a temporary folder, and what a piece of
// work raises.

#include <optional>
#include <string>

#include "engine/app/EngineApplication.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine::test {

using orv::test::ReadBytes;
using orv::test::TempFolder;

// One unit, en-US to de-DE, and no users.
inline std::wstring WriteSmallTm(const TempFolder& folder, const std::string& name = "tm.tmx") {
    TranslationMemory tm{L"en-US", {L"de-DE"}, {}};
    tm.units.push_back({{L"Ready.", {}}, {{L"de-DE", {L"Bereit.", {}}}}});
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

inline std::optional<AutomationError> OpenFails(EngineApplication& app, const std::wstring& path,
                                                const std::wstring& user,
                                                const std::wstring& password,
                                                const std::wstring& mode = L"r") {
    return RaisedBy([&] { app.get_CurrentTM()->Open(path, user, password, mode); });
}

}  // namespace orv::engine::test
