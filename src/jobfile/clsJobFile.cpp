#include "jobfile/clsJobFile.h"

#include <string_view>
#include <utility>

#include "front/modErrors.h"
#include "jobfile/modTools.h"
#include "platform/NarrowText.h"
#include "platform/PathSyntax.h"
#include "results/Files.h"

namespace orv {
namespace {

constexpr std::wstring_view kCrLf = L"\r\n";
constexpr std::wstring_view kSectionGap = L"\r\n\r\n";

// Tessera cannot read a longer job file on the Windows 95/98/Me family.
constexpr std::size_t kWin9xMaxJobTextLength = 65503;

std::wstring Line(std::wstring_view key, std::wstring_view value) {
    std::wstring line(key);
    line += L" = ";
    line += value;
    line += kCrLf;
    return line;
}

std::wstring PathLine(std::wstring_view key, const std::wstring& path) {
    return Line(key, modTools::QuotePath(path));
}

std::wstring NumberLine(std::wstring_view key, int32_t value) {
    return Line(key, std::to_wstring(value));
}

bool HasLineBreak(const std::wstring& path) {
    return path.find_first_of(L"\r\n") != std::wstring::npos;
}

// A path the job file cannot carry: a line break would end its line early and let the
// rest pass for lines of its own; a character the narrow encoding lacks would reach Tessera
// as "?", naming another file or none.
bool IsUnwritable(const std::wstring& path) {
    return HasLineBreak(path) || !ToNarrowExactly(path);
}

}  // namespace

clsJobFile::clsJobFile(std::shared_ptr<Platform> platform, std::shared_ptr<FileSystem> fileSystem)
    : platform_(std::move(platform)), fileSystem_(std::move(fileSystem)) {}

Platform& clsJobFile::platform() {
    if (!platform_) platform_ = DefaultPlatform();
    return *platform_;
}

FileSystem& clsJobFile::fileSystem() {
    if (!fileSystem_) fileSystem_ = DefaultFileSystem();
    return *fileSystem_;
}

bool clsJobFile::CreateJobFile(const Files& BatchAnalyseFileInfoCollection) {
    RefuseUnwritablePaths(BatchAnalyseFileInfoCollection);

    // The old path is forgotten first, so that a failure below can never delete the file of
    // an earlier call.
    jobFileName_.clear();
    try {
        jobFileName_ = modTools::GetUniqueTempFileName(platform(), fileSystem());
    } catch (const std::exception&) {
        AbandonJobFile();
    }

    // The path tests raise their own errors; the empty temporary file stays for the caller's
    // clean-up.
    const std::wstring text = BuildJobFileContent(BatchAnalyseFileInfoCollection);
    if (text.size() > kWin9xMaxJobTextLength && modTools::IsWin9x(platform())) {
        modErrors::RaiseError(ovOrvBatchAnalyseErrorFileBiggerThan64kOnWin9x);
    }

    if (jobFileName_.empty() || !WriteJobFile(text)) AbandonJobFile();
    return true;
}

bool clsJobFile::DeleteJobFile() {
    if (!jobFileName_.empty() && fileSystem().FileExists(jobFileName_)) {
        fileSystem().DeleteFile(jobFileName_, true);
    }
    return true;
}

void clsJobFile::RefuseUnwritablePaths(const Files& collection) const {
    bool refused = IsUnwritable(SGMLSettingsFileName_) || IsUnwritable(HTMLSettingsFileName_) ||
                   IsUnwritable(LogFileName_) || IsUnwritable(ExportUnknownFileName_) ||
                   IsUnwritable(ExportFrequentFileName_) || IsUnwritable(CreateProjectTMFileName_);
    for (const auto& record : collection) {
        if (refused) break;
        refused = IsUnwritable(record->get_FilePath());
    }
    if (refused) modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToCreateJobFile);
}

bool clsJobFile::WriteJobFile(const std::wstring& text) {
    try {
        // The empty temporary file is overwritten in place: its unique name is the job file's
        // own, nobody reads it before Tessera is handed the path, and a failed write is
        // deleted by the caller, so no second name and rename are needed.
        fileSystem().WriteFile(jobFileName_, ToNarrow(text));
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void clsJobFile::AbandonJobFile() {
    try {
        DeleteJobFile();
    } catch (const std::exception&) {
        // The caller is told 40010 whatever went wrong; a file left over is the lesser harm.
    }
    modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToCreateJobFile);
}

std::wstring clsJobFile::BuildJobFileContent(const Files& collection) {
    std::wstring text = GetSettingsSection();
    text += GetAnalyseSection();
    text += GetAnalyseTask(1, collection);

    int32_t nextTask = 2;
    for (auto task : {&clsJobFile::GetExportUnknownTask, &clsJobFile::GetExportFrequentTask,
                      &clsJobFile::GetCreateProjectTMTask}) {
        const std::wstring taskText = (this->*task)(nextTask);
        if (!taskText.empty()) {
            text += taskText;
            ++nextTask;
        }
    }
    return text;
}

std::wstring clsJobFile::GetSettingsSection() {
    if (SGMLSettingsFileName_.empty() && HTMLSettingsFileName_.empty()) return {};

    std::wstring section = L"[Settings]";
    section += kCrLf;
    if (!SGMLSettingsFileName_.empty()) {
        if (!fileSystem().FileExists(SGMLSettingsFileName_)) {
            modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToFindFile, SGMLSettingsFileName_);
        }
        section += PathLine(L"SGMLSettingsFile", SGMLSettingsFileName_);
    }
    if (!HTMLSettingsFileName_.empty()) {
        if (!fileSystem().FileExists(HTMLSettingsFileName_)) {
            modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToFindFile, HTMLSettingsFileName_);
        }
        section += PathLine(L"HTMLSettingsFile", HTMLSettingsFileName_);
    }
    section += kSectionGap;
    return section;
}

std::wstring clsJobFile::GetAnalyseSection() {
    const int32_t tasks = 1 + (ExportUnknownFileName_.empty() ? 0 : 1) +
                          (ExportFrequentFileName_.empty() ? 0 : 1) +
                          (CreateProjectTMFileName_.empty() ? 0 : 1);
    std::wstring section = L"[Analyse]";
    section += kCrLf;
    section += GetUseTMLine();
    section += GetLogFileLine();
    section += NumberLine(L"Tasks", tasks);
    return section;
}

std::wstring clsJobFile::GetUseTMLine() const {
    return Line(L"UseTMFromPreviousAnalysis", UseTMFromPreviousAnalysis_ ? L"1" : L"0");
}

std::wstring clsJobFile::GetLogFileLine() {
    if (LogFileName_.empty()) return {};
    TestFolderOf(LogFileName_);
    return PathLine(L"LogFile", LogFileName_);
}

std::wstring clsJobFile::GetTaskHeader(int32_t taskNumber) {
    std::wstring header = L"[Task" + std::to_wstring(taskNumber) + L"]";
    header += kCrLf;
    return header;
}

std::wstring clsJobFile::GetAnalyseTask(int32_t taskNumber, const Files& collection) {
    std::wstring task(kSectionGap);
    task += GetTaskHeader(taskNumber);
    task += Line(L"Task", L"Analyse");
    const int32_t count = collection.Count();
    task += NumberLine(L"Files", count);
    for (int32_t i = 1; i <= count; ++i) {
        task += PathLine(L"File" + std::to_wstring(i), collection.Item(i)->get_FilePath());
    }
    return task;
}

std::wstring clsJobFile::GetExportUnknownTask(int32_t taskNumber) {
    if (ExportUnknownFileName_.empty()) return {};
    TestFolderOf(ExportUnknownFileName_);
    std::wstring task(kSectionGap);
    task += GetTaskHeader(taskNumber);
    task += Line(L"Task", L"ExportUnknown");
    task += NumberLine(L"MaxMatch", ExportUnknownMaxMatch_);
    task += PathLine(L"File", ExportUnknownFileName_);
    task += NumberLine(L"FileType", ExportUnknownFileType_);
    return task;
}

std::wstring clsJobFile::GetExportFrequentTask(int32_t taskNumber) {
    if (ExportFrequentFileName_.empty()) return {};
    TestFolderOf(ExportFrequentFileName_);
    std::wstring task(kSectionGap);
    task += GetTaskHeader(taskNumber);
    task += Line(L"Task", L"ExportFrequent");
    task += NumberLine(L"Occurrences", ExportFrequentOccurrences_);
    task += PathLine(L"File", ExportFrequentFileName_);
    task += NumberLine(L"FileType", ExportFrequentFileType_);
    return task;
}

std::wstring clsJobFile::GetCreateProjectTMTask(int32_t taskNumber) {
    if (CreateProjectTMFileName_.empty()) return {};
    TestFolderOf(CreateProjectTMFileName_);
    std::wstring task(kSectionGap);
    task += GetTaskHeader(taskNumber);
    task += Line(L"Task", L"CreateProjectTM");
    task += PathLine(L"File", CreateProjectTMFileName_);
    return task;
}

void clsJobFile::TestFolderOf(const std::wstring& path) {
    // The target file need not exist yet; only its folder must.
    const std::wstring folder = FolderOfPath(path);
    if (!fileSystem().FolderExists(folder)) {
        modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToFindDirectory, folder);
    }
}

}  // namespace orv
