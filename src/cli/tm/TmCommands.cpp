#include "cli/tm/TmCommands.h"

#include <algorithm>
#include <optional>
#include <type_traits>
#include <vector>

#include "cli/report/ReportText.h"
#include "cli/tm/LanguageArgument.h"
#include "cli/tm/UsageError.h"
#include "engine/model/TranslationMemory.h"
#include "engine/system/FileFailure.h"
#include "engine/system/SystemFile.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"
#include "platform/TextCase.h"

namespace orv::cli {
namespace {

// The path as the engine takes it. A path whose bytes do not decode in the narrow encoding
// would come back from the engine as the name of another file, so it is refused.
std::wstring EnginePath(const std::filesystem::path& path) {
    const std::string narrow = NarrowPathText(path);
    std::wstring wide = FromNarrow(narrow);
    if (ToNarrow(wide) != narrow) {
        throw UsageError("cannot use the path " + narrow + ": it is not valid " +
                         NarrowEncodingName() + " text");
    }
    return wide;
}

// Text from a TM file for the terminal: control characters, which could drive the terminal,
// become "?".
std::string Printable(std::wstring text) {
    for (wchar_t& c : text) {
        const auto code = static_cast<std::make_unsigned_t<wchar_t>>(c);
        if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) c = L'?';
    }
    return ToNarrow(text);
}

std::string Quoted(const std::wstring& user) {
    return "\"" + Printable(user) + "\"";
}

std::string TagDisplay(const std::wstring& tag) {
    if (tag.empty()) return "none";
    const auto id = engine::LanguageIdFromTag(tag);
    return Printable(tag) + (id ? " (" + std::to_string(*id) + ")" : std::string{});
}

std::wstring LanguageTag(int32_t id, const char* which) {
    const auto tag = engine::LanguageTagFromId(id);
    if (!tag) {
        throw UsageError("unknown " + std::string(which) + " language id " + std::to_string(id));
    }
    return *tag;
}

// The user name as the engine takes it, refused when the engine would refuse it or when the
// command line's bytes are no text (they would become another name).
std::wstring UserName(const std::string& user, const char* action) {
    std::wstring name = FromNarrow(user);
    std::optional<std::wstring> fault;
    if (std::any_of(name.begin(), name.end(), IsEscapedByte) || ToNarrow(name) != user)
        fault = L"it is not valid " + FromNarrow(NarrowEncodingName()) + L" text";
    else
        fault = engine::TmUserNameFault(name);
    if (fault) {
        throw UsageError("cannot " + std::string(action) + " the user " + Quoted(name) + ": " +
                         ToNarrow(*fault));
    }
    return name;
}

bool HasUser(const std::vector<std::wstring>& names, const std::wstring& user) {
    return std::any_of(names.begin(), names.end(),
                       [&](const std::wstring& name) { return EqualsIgnoringCase(name, user); });
}

// Creates `path` empty, failing if anything stands there: the claim and the test are one
// step, so no file that appears meanwhile is ever replaced.
void ClaimNewFile(const std::filesystem::path& path, const std::wstring& enginePath) {
    const std::string name = NarrowPathText(path);
    engine::FileProblem problem = engine::FileProblem::OpenFailed;
    try {
        engine::SystemFile::CreateNew(enginePath).Close();
        return;
    } catch (const engine::FileFailure& failure) {
        problem = failure.problem();
    }
    if (problem == engine::FileProblem::AlreadyExists) {
        throw UsageError(name + " already exists; a new TM never replaces a file");
    }
    std::error_code ignored;
    const std::filesystem::path folder = path.parent_path();
    if ((problem == engine::FileProblem::FolderNotFound ||
         problem == engine::FileProblem::NotFound) &&
        !folder.empty() && !std::filesystem::is_directory(folder, ignored)) {
        throw UsageError("cannot create " + name + ": the folder " + NarrowPathText(folder) +
                         " does not exist");
    }
    const int32_t number =
        problem == engine::FileProblem::AccessDenied ? kErrPermissionDenied : kErrPathFileAccess;
    throw AutomationError(
        number, kRuntimeErrorSource,
        FromNarrow("Cannot create " + name + ": ") + engine::FileProblemText(problem));
}

}  // namespace

void CreateTm(const std::filesystem::path& path, int32_t sourceId, int32_t targetId) {
    const std::wstring source = LanguageTag(sourceId, "source");
    const std::wstring target = LanguageTag(targetId, "target");
    if (engine::SameLanguageTag(source, target)) {
        throw UsageError("the source and the target language are both " +
                         LanguageDisplay(sourceId) + "; a TM needs two languages");
    }
    if (path.empty() || !path.has_filename()) {
        throw UsageError("cannot create a TM at \"" + NarrowPathText(path) +
                         "\": it names no file");
    }
    const std::wstring enginePath = EnginePath(path);

    ClaimNewFile(path, enginePath);
    engine::TranslationMemory tm;
    tm.sourceLanguage = source;
    tm.targetLanguages = {target};
    try {
        engine::WriteTmxFile(tm, enginePath);
    } catch (...) {
        // The claimed file is empty and ours; the write's own error is what the user needs.
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
        throw;
    }
}

void TmInfo(const std::filesystem::path& path, std::ostream& out) {
    const engine::TranslationMemory tm = engine::ReadTmxFile(EnginePath(path));
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);

    out << "TM: " << NarrowPathText(path) << "\n";
    out << "Units: " << FormatCount(static_cast<int64_t>(tm.units.size())) << "\n";
    out << "Source language: " << TagDisplay(tm.sourceLanguage) << "\n";
    out << "Target languages: ";
    if (tm.targetLanguages.empty()) out << "none";
    for (std::size_t i = 0; i < tm.targetLanguages.size(); ++i)
        out << (i > 0 ? ", " : "") << TagDisplay(tm.targetLanguages[i]);
    out << "\n";
    if (tm.users.empty()) {
        out << "Users: none (anyone may open the TM)\n";
    } else {
        out << "Users: " << tm.users.size() << "\n";
        for (const engine::TmUser& user : tm.users) out << "  " << Printable(user.name) << "\n";
    }
    out << "File size: " << (error ? "unknown" : FormatCount(static_cast<int64_t>(size)) + " bytes")
        << "\n";
}

AddedUser AddUser(const std::filesystem::path& path, const std::string& user,
                  const std::wstring& password) {
    const std::wstring name = UserName(user, "add");
    const std::wstring enginePath = EnginePath(path);
    // Read first, so that a missing or damaged TM fails before the slow password hash.
    const std::vector<std::wstring> names = engine::TmUserNames(enginePath);
    engine::AddTmUser(enginePath, name, password);
    return HasUser(names, name) ? AddedUser::PasswordChanged : AddedUser::New;
}

std::size_t RemoveUser(const std::filesystem::path& path, const std::string& user) {
    const std::wstring name = UserName(user, "remove");
    const std::wstring enginePath = EnginePath(path);
    const std::vector<std::wstring> names = engine::TmUserNames(enginePath);
    if (!HasUser(names, name) || !engine::RemoveTmUser(enginePath, name)) {
        std::string known = names.empty() ? "; the TM has no users" : "";
        for (std::size_t i = 0; i < names.size(); ++i)
            known += (i == 0 ? "; its users are " : ", ") + Quoted(names[i]);
        throw UsageError("no user " + Quoted(name) + " in " + NarrowPathText(path) + known);
    }
    return names.size() - 1;
}

}  // namespace orv::cli
