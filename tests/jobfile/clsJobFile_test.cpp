#include "jobfile/clsJobFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "front/modErrors.h"
#include "platform/NarrowText.h"
#include "platform/NativePath.h"
#include "results/Files.h"
#include "support/FakePlatform.h"
#include "support/MemoryFileSystem.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

constexpr int32_t kNoFile = ovOrvBatchAnalyseErrorUnableToFindFile;
constexpr int32_t kNoFolder = ovOrvBatchAnalyseErrorUnableToFindDirectory;
constexpr int32_t kNoJobFile = ovOrvBatchAnalyseErrorUnableToCreateJobFile;

// The error `work` raised; number 0 when it raised none.
template <class Work>
AutomationError RaisedBy(Work work) {
    try {
        work();
    } catch (const AutomationError& error) {
        return error;
    }
    return AutomationError(0, L"", L"");
}

// The bytes a pattern stands for: "|" ends a line, "$root/" is the test folder, and $A, $T1,
// $U, $F and $P are pieces the layouts share.
std::string JobText(std::wstring text, const TempFolder& root) {
    const std::pair<std::wstring, std::wstring> pieces[] = {
        {L"$A", L"[Analyse]|UseTMFromPreviousAnalysis = 0|"},
        {L"$T1", L"||[Task1]|Task = Analyse|Files = 1|File1 = \"a.rtf\"|"},
        {L"$U", L"|Task = ExportUnknown|MaxMatch = -5|File = \"$root/out/u.txt\"|FileType = 9|"},
        {L"$F",
         L"|Task = ExportFrequent|Occurrences = -2147483648|File = \"$root/out/f.txt\"|"
         L"FileType = 2147483647|"},
        {L"$P", L"|Task = CreateProjectTM|File = \"$root/out/p.tmv\"|"},
        // The folder with the system's own separator after it, as a path appended to it has.
        {L"$root/", FromNativePath(root.path() / "")},
        {L"|", L"\r\n"}};
    for (const auto& [mark, piece] : pieces) {
        for (auto at = text.find(mark); at != std::wstring::npos;
             at = text.find(mark, at + piece.size())) {
            text.replace(at, mark.size(), piece);
        }
    }
    return ToNarrow(text);
}

// The path properties in the order they are tested, each with a path that passes, one that
// fails, and the error of the failure, which names the missing file or folder.
struct PathProperty {
    void (clsJobFile::*put)(const std::wstring&);
    const char* valid;
    const char* broken;
    int32_t code;
};
const PathProperty kPaths[] = {
    {&clsJobFile::put_SGMLSettingsFileName, "out/sgml.ini", "out/gone.sgml", kNoFile},
    {&clsJobFile::put_HTMLSettingsFileName, "out/html.ini", "out/gone.html", kNoFile},
    {&clsJobFile::put_LogFileName, "out/a.log", "no-log/a.log", kNoFolder},
    {&clsJobFile::put_ExportUnknownFileName, "out/u.txt", "no-u/u.txt", kNoFolder},
    {&clsJobFile::put_ExportFrequentFileName, "out/f.txt", "no-f/f.txt", kNoFolder},
    {&clsJobFile::put_CreateProjectTMFileName, "out/p.tmv", "no-p/p.tmv", kNoFolder},
};

class JobFileTest : public ::testing::Test {
protected:
    JobFileTest() {
        fs::create_directory(root.path() / "temp");
        root.Write("out/sgml.ini", "");
        root.Write("out/html.ini", "");
        platform->environment[L"TEMP"] = root.wpath("temp");
        documents.Add(L"a.rtf");
    }

    TempFolder root;
    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    Files documents;
};

TEST_F(JobFileTest, LaysOutSectionsAndNumbersTheTasksByWhatIsGiven) {
    struct Layout {
        const char* paths;  // the path properties given, by initial: S H L U F P
        std::wstring text;  // a JobText pattern for the whole file
        bool useTM = false;
        std::vector<std::wstring> documents = {L"a.rtf"};
    };
    // Properties given in any order come out in the file's own order.
    const Layout cases[] = {
        {"", L"$ATasks = 1|$T1"},
        {"H", L"[Settings]|HTMLSettingsFile = \"$root/out/html.ini\"|||$ATasks = 1|$T1"},
        {"S", L"[Settings]|SGMLSettingsFile = \"$root/out/sgml.ini\"|||$ATasks = 1|$T1"},
        {"HS",
         L"[Settings]|SGMLSettingsFile = \"$root/out/sgml.ini\"|"
         L"HTMLSettingsFile = \"$root/out/html.ini\"|||$ATasks = 1|$T1"},
        {"L",
         L"[Analyse]|UseTMFromPreviousAnalysis = 1|LogFile = \"$root/out/a.log\"|Tasks = 1|$T1",
         true},
        {"U", L"$ATasks = 2|$T1||[Task2]$U"},
        {"F", L"$ATasks = 2|$T1||[Task2]$F"},
        {"P", L"$ATasks = 2|$T1||[Task2]$P"},
        {"UF", L"$ATasks = 3|$T1||[Task2]$U||[Task3]$F"},
        {"UP", L"$ATasks = 3|$T1||[Task2]$U||[Task3]$P"},
        {"FP", L"$ATasks = 3|$T1||[Task2]$F||[Task3]$P"},
        {"PFU", L"$ATasks = 4|$T1||[Task2]$U||[Task3]$F||[Task4]$P"},
        {"",
         L"[Analyse]|UseTMFromPreviousAnalysis = 0|Tasks = 1|||[Task1]|Task = Analyse|Files = 0|",
         false,
         {}},
        {"SLUFP",
         L"[Settings]|SGMLSettingsFile = \"$root/out/sgml.ini\"|||[Analyse]|"
         L"UseTMFromPreviousAnalysis = 1|LogFile = \"$root/out/a.log\"|Tasks = 4|||[Task1]|"
         L"Task = Analyse|Files = 2|File1 = \"C:\\Docs\\chapter 1.rtf\"|"
         L"File2 = \"C:\\Docs\\chapter 2.rtf\"|||[Task2]$U||[Task3]$F||[Task4]$P",
         true,
         {L"C:\\Docs\\chapter 1.rtf", L"C:\\Docs\\chapter 2.rtf"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        clsJobFile job(platform);
        for (const char* initial = c.paths; *initial; ++initial) {
            const auto& path = kPaths[std::string_view("SHLUFP").find(*initial)];
            (job.*path.put)(root.wpath(path.valid));
        }
        job.put_UseTMFromPreviousAnalysis(c.useTM);
        // Numbers are written as held, negative and out of range alike.
        job.put_ExportUnknownMaxMatch(-5);
        job.put_ExportUnknownFileType(TsExportFileType{9});
        job.put_ExportFrequentOccurrences(INT32_MIN);
        job.put_ExportFrequentFileType(TsExportFileType{INT32_MAX});
        Files files;
        for (const auto& document : c.documents) files.Add(document);

        ASSERT_TRUE(job.CreateJobFile(files));

        EXPECT_EQ(ReadBytes(OnDisk(job.GetJobFileName())), JobText(c.text, root));
        EXPECT_EQ(OnDisk(job.GetJobFileName()).parent_path(), root.path() / "temp");
    }
}

TEST_F(JobFileTest, ReportsOnlyTheEarliestBadPathAndLeavesTheEmptyJobFile) {
    // Each row breaks one path and every later one.
    for (std::size_t first = 0; first < std::size(kPaths); ++first) {
        SCOPED_TRACE(kPaths[first].broken);
        clsJobFile job(platform);
        for (std::size_t i = 0; i < std::size(kPaths); ++i) {
            (job.*kPaths[i].put)(root.wpath(i < first ? kPaths[i].valid : kPaths[i].broken));
        }

        const AutomationError error = RaisedBy([&] { job.CreateJobFile(documents); });

        const PathProperty& bad = kPaths[first];
        EXPECT_EQ(error.number(), bad.code);
        EXPECT_EQ(error.description(),
                  bad.code == kNoFile
                      ? L"Unable to find file: \"" + root.wpath(bad.broken) + L"\""
                      : L"Unable to find directory: \"" +
                            FromNativePath(OnDisk(root.wpath(bad.broken)).parent_path()) + L"\"");
        EXPECT_EQ(fs::file_size(OnDisk(job.GetJobFileName())), 0u);
    }
}

TEST_F(JobFileTest, TestsTheFolderBeforeTheLastSeparatorOfAnOutputPath) {
    // The log path, whether its folder is made first, and the folder named as missing.
    const std::tuple<std::wstring, bool, std::wstring> cases[] = {
        {root.wpath("out/Logs/Logs"), false, root.wpath("out/Logs")},
        {root.wpath("out/Logs/Logs"), true, L""},
        {L"/analysis.log", false, L""},
        {L"analysis.log", false, L"analysis.log"},
    };
    for (const auto& [log, makeLogs, missing] : cases) {
        SCOPED_TRACE(testing::PrintToString(log));
        if (makeLogs) fs::create_directories(root.path() / "out/Logs");
        clsJobFile job(platform);
        job.put_LogFileName(log);

        const AutomationError error = RaisedBy([&] { job.CreateJobFile(documents); });

        EXPECT_EQ(error.number(), missing.empty() ? 0 : kNoFolder);
        EXPECT_EQ(error.description(),
                  missing.empty() ? L"" : L"Unable to find directory: \"" + missing + L"\"");
    }
}

TEST_F(JobFileTest, RefusesALineBreakOrAnUnwritableCharacterInAnyPathWith40010BeforeMakingAFile) {
    // The kind after the path properties is a document. A lone surrogate has no form in any
    // narrow encoding: written, it would become "?" and name another file.
    for (std::size_t kind = 0; kind <= std::size(kPaths); ++kind) {
        for (const wchar_t* flaw : {L"\r", L"\n", L"\r\nTasks = 9", L"\xD800"}) {
            const std::wstring bad = root.wpath("out/a") + flaw + L".txt";
            SCOPED_TRACE(testing::Message() << kind << ": " << testing::PrintToString(bad));
            clsJobFile job(platform);
            if (kind < std::size(kPaths)) (job.*kPaths[kind].put)(bad);
            Files files = documents;
            if (kind == std::size(kPaths)) files.Add(bad);

            EXPECT_EQ(RaisedBy([&] { job.CreateJobFile(files); }).number(), kNoJobFile);
            EXPECT_EQ(job.GetJobFileName(), L"");
            EXPECT_TRUE(fs::is_empty(root.path() / "temp"));
        }
    }
}

TEST_F(JobFileTest, ATempNamingAMissingFolderLeavesNoFileAndEndsIn40010AfterThePathTests) {
    clsJobFile job(platform);
    ASSERT_TRUE(job.CreateJobFile(documents));
    const fs::path earlier = OnDisk(job.GetJobFileName());
    fs::create_directory(root.path() / "tmp");
    platform->environment[L"TEMP"] = root.wpath("missing");
    platform->environment[L"TMP"] = root.wpath("tmp");

    job.put_SGMLSettingsFileName(root.wpath("out/gone.ini"));
    EXPECT_EQ(RaisedBy([&] { job.CreateJobFile(documents); }).number(), kNoFile);
    job.put_SGMLSettingsFileName(L"");
    EXPECT_EQ(RaisedBy([&] { job.CreateJobFile(documents); }).number(), kNoJobFile);

    EXPECT_EQ(job.GetJobFileName(), L"");
    EXPECT_TRUE(fs::is_empty(root.path() / "tmp"));
    EXPECT_TRUE(fs::exists(earlier));  // a later call never deletes an earlier job file
}

TEST_F(JobFileTest, RefusesTextsOver65503CharactersOnWin9xOnlyAndAsksTheFamilyOnlyThen) {
    const std::size_t frame =
        JobText(L"$ATasks = 1|||[Task1]|Task = Analyse|Files = 1|File1 = \"\"|", root).size();
    // The family, the text's length in characters (not bytes) and its filling, the error
    // expected and how often the family is asked.
    const std::tuple<OsFamily, std::size_t, wchar_t, int32_t, int> cases[] = {
        {OsFamily::Windows9x, 65503, L'x', 0, 0},
        {OsFamily::Windows9x, 65504, L'x', ovOrvBatchAnalyseErrorFileBiggerThan64kOnWin9x, 1},
        {OsFamily::Windows9x, 65503, L'\u00e4', 0, 0},
        {OsFamily::WindowsNT, 65504, L'x', 0, 1},
        {OsFamily::Posix, 200000, L'x', 0, 1},
    };
    for (const auto& [family, length, fill, code, familyQueries] : cases) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(family) << ", " << length);
        auto fake = std::make_shared<FakePlatform>(*platform);
        fake->osFamily = family;
        clsJobFile job(fake);
        Files files;
        files.Add(std::wstring(length - frame, fill));
        AutomationError error(0, L"", L"");
        // A thread of its own, where the family has not been asked yet.
        std::thread([&] { error = RaisedBy([&] { job.CreateJobFile(files); }); }).join();

        EXPECT_EQ(error.number(), code);
        EXPECT_EQ(fake->osFamilyQueries, familyQueries);
        EXPECT_EQ(FromNarrow(ReadBytes(OnDisk(job.GetJobFileName()))).size(), code ? 0 : length);
    }
}

TEST_F(JobFileTest, DeleteJobFileIsHarmlessBeforeCreationAndWhenRepeatedAndRemovesReadOnlyFiles) {
    clsJobFile job(platform);
    EXPECT_EQ(job.GetJobFileName(), L"");
    EXPECT_TRUE(job.DeleteJobFile());
    ASSERT_TRUE(job.CreateJobFile(documents));
    const fs::path file = OnDisk(job.GetJobFileName());
    fs::permissions(file, fs::perms::owner_read);

    EXPECT_TRUE(job.DeleteJobFile());
    EXPECT_FALSE(fs::exists(file));
    EXPECT_EQ(OnDisk(job.GetJobFileName()), file);
    EXPECT_TRUE(job.DeleteJobFile());
}

// --- on a file system in memory, where every failure can be provoked -------------------------

class JobFileInMemoryTest : public ::testing::Test {
protected:
    JobFileInMemoryTest() {
        files->AddFolder(L"C:\\t");
        files->AddFile(L"C:\\cfg\\sgml.ini");
        platform->environment[L"TEMP"] = L"C:\\t";
        platform->tempFilesIn = files;
        documents.Add(L"C:\\Docs\\a.rtf");
    }

    std::shared_ptr<MemoryFileSystem> files =
        std::make_shared<MemoryFileSystem>(PathStyle::Windows);
    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    Files documents;
};

TEST_F(JobFileInMemoryTest, WritesTheTextOnceIntoTheTemporaryFileItselfAndDeletesItByForce) {
    clsJobFile job(platform, files);
    ASSERT_TRUE(job.CreateJobFile(documents));
    EXPECT_EQ(job.GetJobFileName(), L"C:\\t\\ORV1.TMP");
    EXPECT_EQ(files->Content(L"C:\\t\\ORV1.TMP"),
              "[Analyse]\r\nUseTMFromPreviousAnalysis = 0\r\nTasks = 1\r\n\r\n\r\n[Task1]\r\n"
              "Task = Analyse\r\nFiles = 1\r\nFile1 = \"C:\\Docs\\a.rtf\"\r\n");
    job.DeleteJobFile();
    EXPECT_EQ(files->calls, (std::vector<std::wstring>{
                                L"FolderExists C:\\t", L"CreateUniqueFile C:\\t\\ORV1.TMP",
                                L"WriteFile C:\\t\\ORV1.TMP", L"FileExists C:\\t\\ORV1.TMP",
                                L"DeleteFile C:\\t\\ORV1.TMP force"}));
    EXPECT_EQ(files->FilePaths(), std::vector<std::wstring>{L"C:\\cfg\\sgml.ini"});
}

TEST_F(JobFileInMemoryTest, AnyFailedWriteEndsIn40010WithTheJobFileDeletedWhereItCanBe) {
    const struct {
        const char* cause;
        int32_t writeError;  // the error WriteFile raises; 0: none planned
        bool readOnly;       // the temporary file is read-only, so the write itself refuses
        bool deleteFails;    // the clean-up's deletion fails too
    } cases[] = {
        {"a full disk", kErrPathFileAccess, false, false},
        {"access denied", kErrPermissionDenied, false, false},
        {"the file vanished with its folder", kErrFileNotFound, false, false},
        {"a read-only temporary file", 0, true, false},
        {"a clean-up that fails as well", kErrPathFileAccess, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        files = std::make_shared<MemoryFileSystem>(PathStyle::Windows);
        files->AddFolder(L"C:\\t");
        files->uniqueFilesReadOnly = c.readOnly;
        platform->tempFilesIn = files;
        if (c.writeError) files->FailCall(1, c.writeError, "WriteFile");
        if (c.deleteFails) files->FailCall(1, kErrPermissionDenied, "DeleteFile");
        clsJobFile job(platform, files);

        const AutomationError error = RaisedBy([&] { job.CreateJobFile(documents); });

        EXPECT_EQ(error.number(), kNoJobFile);
        EXPECT_EQ(error.description(), modErrors::GetErrorMessage(kNoJobFile, L""));
        EXPECT_EQ(job.GetJobFileName(), L"C:\\t\\ORV1.TMP");
        EXPECT_EQ(files->HasFile(L"C:\\t\\ORV1.TMP"), c.deleteFails);
        EXPECT_EQ(files->calls, (std::vector<std::wstring>{
                                    L"FolderExists C:\\t", L"CreateUniqueFile C:\\t\\ORV1.TMP",
                                    L"WriteFile C:\\t\\ORV1.TMP", L"FileExists C:\\t\\ORV1.TMP",
                                    L"DeleteFile C:\\t\\ORV1.TMP force"}));
    }
}

TEST_F(JobFileInMemoryTest, AFailingServiceBeforeTheWriteIsEither40010OrPassedOnUnchanged) {
    // The temporary folder's test failing means no name (40010); the settings file's test
    // failing is the service's own error, and the empty file stays for the caller's clean-up.
    const struct {
        const char* operation;
        int32_t raised;
        bool fileLeft;
    } cases[] = {
        {"FolderExists", kNoJobFile, false},
        {"FileExists", kErrPathFileAccess, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.operation);
        files = std::make_shared<MemoryFileSystem>(PathStyle::Windows);
        files->AddFolder(L"C:\\t");
        files->AddFile(L"C:\\cfg\\sgml.ini");
        platform->tempFilesIn = files;
        files->FailCall(1, kErrPathFileAccess, c.operation);
        clsJobFile job(platform, files);
        job.put_SGMLSettingsFileName(L"C:\\cfg\\sgml.ini");

        EXPECT_EQ(RaisedBy([&] { job.CreateJobFile(documents); }).number(), c.raised);
        EXPECT_EQ(files->HasFile(L"C:\\t\\ORV1.TMP"), c.fileLeft);
        for (const auto& call : files->calls) EXPECT_NE(call.rfind(L"WriteFile", 0), 0u);
    }
}

}  // namespace
}  // namespace orv::test
