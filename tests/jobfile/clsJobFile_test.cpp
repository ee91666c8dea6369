#include "jobfile/clsJobFile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "front/modErrors.h"
#include "jobfile/JobFileTesting.h"
#include "platform/NarrowText.h"
#include "results/Files.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::wstring>;

std::wstring Joined(const Lines& lines) {
    std::wstring text;
    for (const auto& line : lines) text += line + L"\r\n";
    return text;
}

Lines Concat(std::initializer_list<Lines> parts) {
    Lines all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::wstring Expanded(std::wstring text, const std::wstring& out) {
    const std::wstring mark = L"$out";
    for (auto at = text.find(mark); at != std::wstring::npos;
         at = text.find(mark, at + out.size())) {
        text.replace(at, mark.size(), out);
    }
    return text;
}

std::wstring ErrorText(int32_t code, const std::wstring& detail) {
    if (code == ovOrvBatchAnalyseErrorUnableToFindFile) {
        return L"Unable to find file: \"" + detail + L"\"";
    }
    return L"Unable to find directory: \"" + detail + L"\"";
}

// The path properties by the name tests use for them.
void SetPath(clsJobFile& job, std::string_view which, const std::wstring& path) {
    if (which == "sgml") job.put_SGMLSettingsFileName(path);
    if (which == "html") job.put_HTMLSettingsFileName(path);
    if (which == "log") job.put_LogFileName(path);
    if (which == "unknown") job.put_ExportUnknownFileName(path);
    if (which == "frequent") job.put_ExportFrequentFileName(path);
    if (which == "projectTM") job.put_CreateProjectTMFileName(path);
}

const std::vector<std::string_view> kPathProperties = {"sgml",    "html",     "log",
                                                       "unknown", "frequent", "projectTM"};

class JobFileTest : public ::testing::Test {
protected:
    JobFileTest() {
        fs::create_directory(root.path() / "temp");
        fs::create_directory(root.path() / "out");
        root.Write("out/sgml.ini", "[sgml]");
        root.Write("out/html.ini", "[html]");
        platform->environment[L"TEMP"] = root.wpath("temp");
    }

    std::wstring Out() const { return root.wpath("out"); }

    // Every path property naming something that exists.
    void SetAllPathsValid(clsJobFile& job) const {
        SetPath(job, "sgml", Out() + L"/sgml.ini");
        SetPath(job, "html", Out() + L"/html.ini");
        SetPath(job, "log", Out() + L"/analysis.log");
        SetPath(job, "unknown", Out() + L"/unknown.txt");
        SetPath(job, "frequent", Out() + L"/frequent.txt");
        SetPath(job, "projectTM", Out() + L"/project.tmv");
    }

    std::vector<fs::path> FilesIn(const char* folder) const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(root.path() / folder)) {
            found.push_back(entry.path());
        }
        return found;
    }

    static fs::path OnDisk(const std::wstring& path) { return ToNarrow(path); }

    TempFolder root;
    std::shared_ptr<FakePlatform> platform = std::make_shared<FakePlatform>();
    Files files;
};

TEST_F(JobFileTest, WritesTheFullJobByteForByte) {
    root.Write("Settings/manuals.ini", "");
    fs::create_directory(root.path() / "Batch");
    clsJobFile job(platform);
    job.put_SGMLSettingsFileName(root.wpath("Settings/manuals.ini"));
    job.put_UseTMFromPreviousAnalysis(true);
    job.put_LogFileName(root.wpath("Batch/analysis.log"));
    job.put_ExportUnknownFileName(root.wpath("Batch/unmatched.txt"));
    job.put_ExportUnknownMaxMatch(85);
    job.put_ExportUnknownFileType(2);
    job.put_ExportFrequentFileName(root.wpath("Batch/frequent.txt"));
    job.put_ExportFrequentOccurrences(5);
    job.put_ExportFrequentFileType(1);
    job.put_CreateProjectTMFileName(root.wpath("Batch/project.tmv"));
    files.Add(L"C:\\Docs\\chapter 1.rtf");
    files.Add(L"C:\\Docs\\chapter 2.rtf");

    EXPECT_TRUE(job.CreateJobFile(files));

    const std::string r = root.path().string();
    const std::string expected =
        "[Settings]\r\n"
        "SGMLSettingsFile = \"" +
        r +
        "/Settings/manuals.ini\"\r\n"
        "\r\n"
        "\r\n"
        "[Analyse]\r\n"
        "UseTMFromPreviousAnalysis = 1\r\n"
        "LogFile = \"" +
        r +
        "/Batch/analysis.log\"\r\n"
        "Tasks = 4\r\n"
        "\r\n"
        "\r\n"
        "[Task1]\r\n"
        "Task = Analyse\r\n"
        "Files = 2\r\n"
        "File1 = \"C:\\Docs\\chapter 1.rtf\"\r\n"
        "File2 = \"C:\\Docs\\chapter 2.rtf\"\r\n"
        "\r\n"
        "\r\n"
        "[Task2]\r\n"
        "Task = ExportUnknown\r\n"
        "MaxMatch = 85\r\n"
        "File = \"" +
        r +
        "/Batch/unmatched.txt\"\r\n"
        "FileType = 2\r\n"
        "\r\n"
        "\r\n"
        "[Task3]\r\n"
        "Task = ExportFrequent\r\n"
        "Occurrences = 5\r\n"
        "File = \"" +
        r +
        "/Batch/frequent.txt\"\r\n"
        "FileType = 1\r\n"
        "\r\n"
        "\r\n"
        "[Task4]\r\n"
        "Task = CreateProjectTM\r\n"
        "File = \"" +
        r + "/Batch/project.tmv\"\r\n";
    EXPECT_EQ(ReadBytes(OnDisk(job.GetJobFileName())), expected);
    EXPECT_EQ(OnDisk(job.GetJobFileName()).parent_path(), root.path() / "temp");
}

struct LayoutCase {
    const char* behaviour;
    std::wstring sgml{}, html{}, log{}, unknown{}, frequent{}, projectTM{};
    bool useTM = false;
    int32_t maxMatch = 0, unknownType = 0, occurrences = 0, frequentType = 0;
    std::vector<std::wstring> documents = {L"a.rtf"};
    Lines lines{};
};

const Lines kOneDocument = {
    L"", L"", L"[Task1]", L"Task = Analyse", L"Files = 1", L"File1 = \"a.rtf\""};

TEST_F(JobFileTest, LaysOutSectionsAndNumbersTasksByWhatIsGiven) {
    const std::vector<LayoutCase> cases = {
        {.behaviour = "only the required settings",
         .lines = Concat(
             {{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 1"}, kOneDocument})},
        {.behaviour = "only HTML settings",
         .html = L"$out/html.ini",
         .lines = Concat({{L"[Settings]", L"HTMLSettingsFile = \"$out/html.ini\"", L"", L""},
                          {L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 1"},
                          kOneDocument})},
        {.behaviour = "only SGML settings",
         .sgml = L"$out/sgml.ini",
         .lines = Concat({{L"[Settings]", L"SGMLSettingsFile = \"$out/sgml.ini\"", L"", L""},
                          {L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 1"},
                          kOneDocument})},
        {.behaviour = "SGML settings come before HTML settings",
         .sgml = L"$out/sgml.ini",
         .html = L"$out/html.ini",
         .lines = Concat({{L"[Settings]", L"SGMLSettingsFile = \"$out/sgml.ini\"",
                           L"HTMLSettingsFile = \"$out/html.ini\"", L"", L""},
                          {L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 1"},
                          kOneDocument})},
        {.behaviour = "the previous TM is written as 1 and the log line precedes Tasks",
         .log = L"$out/analysis.log",
         .useTM = true,
         .lines = Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 1",
                           L"LogFile = \"$out/analysis.log\"", L"Tasks = 1"},
                          kOneDocument})},
        {.behaviour = "only ExportUnknown",
         .unknown = L"$out/u.txt",
         .maxMatch = 85,
         .unknownType = 2,
         .lines = Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 2"},
                          kOneDocument,
                          {L"", L"", L"[Task2]", L"Task = ExportUnknown", L"MaxMatch = 85",
                           L"File = \"$out/u.txt\"", L"FileType = 2"}})},
        {.behaviour = "only ExportFrequent",
         .frequent = L"$out/f.txt",
         .occurrences = 5,
         .frequentType = 1,
         .lines = Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 2"},
                          kOneDocument,
                          {L"", L"", L"[Task2]", L"Task = ExportFrequent", L"Occurrences = 5",
                           L"File = \"$out/f.txt\"", L"FileType = 1"}})},
        {.behaviour = "only the project TM",
         .projectTM = L"$out/p.tmv",
         .lines =
             Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 2"},
                     kOneDocument,
                     {L"", L"", L"[Task2]", L"Task = CreateProjectTM", L"File = \"$out/p.tmv\""}})},
        {.behaviour = "both exports without the project TM",
         .unknown = L"$out/u.txt",
         .frequent = L"$out/f.txt",
         .maxMatch = 70,
         .unknownType = 3,
         .occurrences = 2,
         .frequentType = 4,
         .lines = Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 3"},
                          kOneDocument,
                          {L"", L"", L"[Task2]", L"Task = ExportUnknown", L"MaxMatch = 70",
                           L"File = \"$out/u.txt\"", L"FileType = 3"},
                          {L"", L"", L"[Task3]", L"Task = ExportFrequent", L"Occurrences = 2",
                           L"File = \"$out/f.txt\"", L"FileType = 4"}})},
        {.behaviour = "ExportUnknown and the project TM",
         .unknown = L"$out/u.txt",
         .projectTM = L"$out/p.tmv",
         .lines =
             Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 3"},
                     kOneDocument,
                     {L"", L"", L"[Task2]", L"Task = ExportUnknown", L"MaxMatch = 0",
                      L"File = \"$out/u.txt\"", L"FileType = 0"},
                     {L"", L"", L"[Task3]", L"Task = CreateProjectTM", L"File = \"$out/p.tmv\""}})},
        {.behaviour = "without ExportUnknown the later tasks move up",
         .frequent = L"$out/f.txt",
         .projectTM = L"$out/p.tmv",
         .occurrences = 5,
         .frequentType = 1,
         .lines =
             Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 3"},
                     kOneDocument,
                     {L"", L"", L"[Task2]", L"Task = ExportFrequent", L"Occurrences = 5",
                      L"File = \"$out/f.txt\"", L"FileType = 1"},
                     {L"", L"", L"[Task3]", L"Task = CreateProjectTM", L"File = \"$out/p.tmv\""}})},
        {.behaviour = "numbers are written as held, negative and out of range alike",
         .unknown = L"$out/u.txt",
         .frequent = L"$out/f.txt",
         .maxMatch = -5,
         .unknownType = 9,
         .occurrences = std::numeric_limits<int32_t>::min(),
         .frequentType = std::numeric_limits<int32_t>::max(),
         .lines =
             Concat({{L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 3"},
                     kOneDocument,
                     {L"", L"", L"[Task2]", L"Task = ExportUnknown", L"MaxMatch = -5",
                      L"File = \"$out/u.txt\"", L"FileType = 9"},
                     {L"", L"", L"[Task3]", L"Task = ExportFrequent", L"Occurrences = -2147483648",
                      L"File = \"$out/f.txt\"", L"FileType = 2147483647"}})},
        {.behaviour = "an empty collection lists no files",
         .documents = {},
         .lines = {L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 1", L"", L"",
                   L"[Task1]", L"Task = Analyse", L"Files = 0"}},
        {.behaviour = "documents are listed in order, each quoted once",
         .documents = {L"  /d/a b.rtf ", L"\"/d/q.rtf\"", L"", L"   ", L"/d/tab\t",
                       L"/d/Kapitel \u00e4\u20ac.rtf"},
         .lines = {L"[Analyse]", L"UseTMFromPreviousAnalysis = 0", L"Tasks = 1", L"", L"",
                   L"[Task1]", L"Task = Analyse", L"Files = 6", L"File1 = \"/d/a b.rtf\"",
                   L"File2 = \"/d/q.rtf\"", L"File3 = \"", L"File4 = \"", L"File5 = \"/d/tab\t\"",
                   L"File6 = \"/d/Kapitel \u00e4\u20ac.rtf\""}},
    };

    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        clsJobFile job(platform);
        job.put_SGMLSettingsFileName(Expanded(c.sgml, Out()));
        job.put_HTMLSettingsFileName(Expanded(c.html, Out()));
        job.put_LogFileName(Expanded(c.log, Out()));
        job.put_UseTMFromPreviousAnalysis(c.useTM);
        job.put_ExportUnknownFileName(Expanded(c.unknown, Out()));
        job.put_ExportUnknownMaxMatch(c.maxMatch);
        job.put_ExportUnknownFileType(c.unknownType);
        job.put_ExportFrequentFileName(Expanded(c.frequent, Out()));
        job.put_ExportFrequentOccurrences(c.occurrences);
        job.put_ExportFrequentFileType(c.frequentType);
        job.put_CreateProjectTMFileName(Expanded(c.projectTM, Out()));
        Files documents;
        for (const auto& path : c.documents) documents.Add(path);

        ASSERT_TRUE(job.CreateJobFile(documents));

        EXPECT_EQ(ReadBytes(OnDisk(job.GetJobFileName())),
                  ToNarrow(Expanded(Joined(c.lines), Out())));
        job.DeleteJobFile();
    }
}

struct PathFaultCase {
    const char* behaviour;
    std::vector<std::string_view> broken;
    int32_t code;
    std::wstring detail;
};

TEST_F(JobFileTest, ReportsTheEarliestBadPathInFileOrderAndKeepsTheEmptyTempFile) {
    // Each broken path names a file or folder of its own, so the detail tells which one won.
    auto brokenPath = [&](std::string_view which) -> std::wstring {
        if (which == "sgml") return Out() + L"/missing-sgml.ini";
        if (which == "html") return Out() + L"/missing-html.ini";
        return Out() + L"/no-" + FromNarrow(std::string(which)) + L"/file.out";
    };
    const std::vector<PathFaultCase> cases = {
        {"a missing SGML settings file wins over every other fault", kPathProperties,
         ovOrvBatchAnalyseErrorUnableToFindFile, L"$out/missing-sgml.ini"},
        {"a missing SGML settings file alone",
         {"sgml"},
         ovOrvBatchAnalyseErrorUnableToFindFile,
         L"$out/missing-sgml.ini"},
        {"then a missing HTML settings file",
         {"html", "log", "unknown", "frequent", "projectTM"},
         ovOrvBatchAnalyseErrorUnableToFindFile,
         L"$out/missing-html.ini"},
        {"then the log folder",
         {"log", "unknown", "frequent", "projectTM"},
         ovOrvBatchAnalyseErrorUnableToFindDirectory,
         L"$out/no-log"},
        {"then the ExportUnknown folder",
         {"unknown", "frequent", "projectTM"},
         ovOrvBatchAnalyseErrorUnableToFindDirectory,
         L"$out/no-unknown"},
        {"then the ExportFrequent folder",
         {"frequent", "projectTM"},
         ovOrvBatchAnalyseErrorUnableToFindDirectory,
         L"$out/no-frequent"},
        {"and last the project TM folder",
         {"projectTM"},
         ovOrvBatchAnalyseErrorUnableToFindDirectory,
         L"$out/no-projectTM"},
    };

    files.Add(L"a.rtf");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        clsJobFile job(platform);
        SetAllPathsValid(job);
        for (auto which : c.broken) SetPath(job, which, brokenPath(which));

        const auto error = RaisedBy([&] { job.CreateJobFile(files); });

        ASSERT_TRUE(error.has_value());
        const std::wstring detail = Expanded(c.detail, Out());
        EXPECT_EQ(error->number(), c.code);
        EXPECT_EQ(error->description(), ErrorText(c.code, detail));
        EXPECT_EQ(error->source(), L"");
        ASSERT_FALSE(job.GetJobFileName().empty());
        EXPECT_EQ(fs::file_size(OnDisk(job.GetJobFileName())), 0u);
        job.DeleteJobFile();
        EXPECT_FALSE(fs::exists(OnDisk(job.GetJobFileName())));
    }
}

struct FolderCase {
    const char* behaviour;
    std::wstring log;
    const char* folderToMake;  // inside "out", or nullptr
    std::optional<std::wstring> missingFolder;
};

TEST_F(JobFileTest, TestsTheFolderBeforeTheLastSeparatorOfAPath) {
    const std::vector<FolderCase> cases = {
        {"a log named like its folder tests that folder", L"$out/Logs1/Logs1", "Logs1",
         std::nullopt},
        {"and names that folder when it is missing", L"$out/Logs2/Logs2", nullptr, L"$out/Logs2"},
        {"a log in the root tests the root", L"/analysis.log", nullptr, std::nullopt},
        {"a bare file name is tested as a folder", L"analysis.log", nullptr, L"analysis.log"},
        {"an all-blank path counts as given", L"   ", nullptr, L"   "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        if (c.folderToMake) fs::create_directory(root.path() / "out" / c.folderToMake);
        clsJobFile job(platform);
        job.put_LogFileName(Expanded(c.log, Out()));

        const auto error = RaisedBy([&] { job.CreateJobFile(files); });

        if (c.missingFolder) {
            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToFindDirectory);
            EXPECT_EQ(error->description(),
                      ErrorText(error->number(), Expanded(*c.missingFolder, Out())));
        } else {
            EXPECT_FALSE(error.has_value()) << ToNarrow(error->description());
        }
        job.DeleteJobFile();
    }
}

TEST_F(JobFileTest, RefusesAnyPathWithALineBreakBeforeMakingAFile) {
    std::vector<std::string_view> kinds = kPathProperties;
    kinds.push_back("document");
    for (auto kind : kinds) {
        for (const auto& [lineBreak, name] :
             {std::pair{L"\r", " CR"}, std::pair{L"\n", " LF"}, std::pair{L"\r\n", " CR LF"}}) {
            SCOPED_TRACE(std::string(kind) + name);
            auto fresh = std::make_shared<FakePlatform>(*platform);
            clsJobFile job(fresh);
            SetAllPathsValid(job);
            Files documents;
            documents.Add(L"a.rtf");
            const std::wstring bad = Out() + L"/a" + std::wstring(lineBreak) + L"Tasks = 9.txt";
            if (kind == "document") {
                documents.Add(bad);
            } else {
                SetPath(job, kind, bad);
            }

            const auto error = RaisedBy([&] { job.CreateJobFile(documents); });

            ASSERT_TRUE(error.has_value());
            EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToCreateJobFile);
            EXPECT_EQ(error->description(), L"Unknown error");
            EXPECT_EQ(fresh->tempFileRequests, 0);
            EXPECT_EQ(job.GetJobFileName(), L"");
            EXPECT_TRUE(FilesIn("temp").empty());
        }
    }
}

TEST_F(JobFileTest, ATempNamingAMissingFolderEndsIn40010WithNoFileAnywhere) {
    fs::create_directory(root.path() / "tmp");
    platform->environment[L"TEMP"] = root.wpath("missing");
    platform->environment[L"TMP"] = root.wpath("tmp");
    clsJobFile job(platform);
    files.Add(L"a.rtf");

    const auto error = RaisedBy([&] { job.CreateJobFile(files); });

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToCreateJobFile);
    EXPECT_EQ(job.GetJobFileName(), L"");
    EXPECT_TRUE(FilesIn("tmp").empty());
    EXPECT_FALSE(fs::exists(root.path() / "missing"));
}

TEST_F(JobFileTest, WithoutATempFileThePathTestsStillRunAndWinOver40010) {
    platform->failTempFile = true;
    clsJobFile job(platform);
    job.put_SGMLSettingsFileName(Out() + L"/missing.ini");

    const auto error = RaisedBy([&] { job.CreateJobFile(files); });

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToFindFile);

    job.put_SGMLSettingsFileName(L"");
    const auto second = RaisedBy([&] { job.CreateJobFile(files); });
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->number(), ovOrvBatchAnalyseErrorUnableToCreateJobFile);
}

// Keeps writes to regular files below `bytes` while it lives, the way a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(JobFileTest, AWriteThatFailsDeletesTheJobFileAndRaises40010WhateverTheCause) {
    files.Add(L"a.rtf");
    for (bool deleteFails : {false, true}) {
        SCOPED_TRACE(deleteFails ? "deletion fails too" : "deletion works");
        auto fileSystem = std::make_shared<FailingFileSystem>();
        fileSystem->failDeleteFile = deleteFails;
        clsJobFile job(platform, fileSystem);

        std::optional<AutomationError> error;
        {
            FileSizeLimit full(8);
            error = RaisedBy([&] { job.CreateJobFile(files); });
        }

        ASSERT_TRUE(error.has_value());
        EXPECT_EQ(error->number(), ovOrvBatchAnalyseErrorUnableToCreateJobFile);
        EXPECT_EQ(error->description(), L"Unknown error");
        EXPECT_EQ(fs::exists(OnDisk(job.GetJobFileName())), deleteFails);
        if (deleteFails) fs::remove(OnDisk(job.GetJobFileName()));
    }
}

struct LimitCase {
    const char* behaviour;
    OsFamily family;
    std::size_t length;  // of the whole text, in characters
    wchar_t fill;
    bool written;
    int osQueries;
};

TEST_F(JobFileTest, RefusesTextsOver65503CharactersOnlyOnWin9xAndAsksOnlyThen) {
    // The text's length apart from its one document path.
    clsJobFile probe(platform);
    Files one;
    one.Add(L"x");
    probe.CreateJobFile(one);
    const std::size_t frame = fs::file_size(OnDisk(probe.GetJobFileName())) - 1;
    probe.DeleteJobFile();

    const std::vector<LimitCase> cases = {
        {"65,503 characters are written on Win9x", OsFamily::Windows9x, 65503, L'x', true, 0},
        {"65,504 characters are refused on Win9x", OsFamily::Windows9x, 65504, L'x', false, 1},
        {"characters are counted before conversion", OsFamily::Windows9x, 65503, L'\u00e4', true,
         0},
        {"no limit on the NT family", OsFamily::WindowsNT, 65504, L'x', true, 1},
        {"no limit on POSIX", OsFamily::Posix, 200000, L'x', true, 1},
        {"no limit when the family is unknown", OsFamily::Unknown, 65504, L'x', true, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.behaviour);
        auto fake = std::make_shared<FakePlatform>(*platform);
        fake->osFamily = c.family;
        const std::wstring document(c.length - frame, c.fill);

        struct Outcome {
            std::optional<AutomationError> error;
            std::wstring jobFile;
        };
        const Outcome outcome = OnFreshThread([&] {
            clsJobFile job(fake);
            Files documents;
            documents.Add(document);
            auto error = RaisedBy([&] { job.CreateJobFile(documents); });
            return Outcome{error, job.GetJobFileName()};
        });

        EXPECT_EQ(fake->osFamilyQueries, c.osQueries);
        ASSERT_FALSE(outcome.jobFile.empty());
        if (c.written) {
            EXPECT_FALSE(outcome.error.has_value());
            EXPECT_EQ(FromNarrow(ReadBytes(OnDisk(outcome.jobFile))).size(), c.length);
        } else {
            ASSERT_TRUE(outcome.error.has_value());
            EXPECT_EQ(outcome.error->number(), ovOrvBatchAnalyseErrorFileBiggerThan64kOnWin9x);
            EXPECT_EQ(outcome.error->description(),
                      L"Tessera can't read job files bigger than 64kB on Win9x systems.");
            EXPECT_EQ(fs::file_size(OnDisk(outcome.jobFile)), 0u);
        }
        fs::remove(OnDisk(outcome.jobFile));
    }
}

TEST_F(JobFileTest, DeleteJobFileIsHarmlessBeforeCreationAndWhenRepeated) {
    auto fileSystem = std::make_shared<FailingFileSystem>();
    fileSystem->failDeleteFile = true;
    clsJobFile fresh(platform, fileSystem);
    EXPECT_EQ(fresh.GetJobFileName(), L"");
    EXPECT_TRUE(fresh.DeleteJobFile());

    clsJobFile job(platform);
    ASSERT_TRUE(job.CreateJobFile(files));
    const std::wstring path = job.GetJobFileName();
    ASSERT_TRUE(fs::exists(OnDisk(path)));

    EXPECT_TRUE(job.DeleteJobFile());
    EXPECT_FALSE(fs::exists(OnDisk(path)));
    EXPECT_EQ(job.GetJobFileName(), path);
    EXPECT_TRUE(job.DeleteJobFile());
}

TEST_F(JobFileTest, DeleteJobFileRemovesAReadOnlyJobFile) {
    clsJobFile job(platform);
    ASSERT_TRUE(job.CreateJobFile(files));
    fs::permissions(OnDisk(job.GetJobFileName()), fs::perms::owner_read);

    EXPECT_TRUE(job.DeleteJobFile());
    EXPECT_FALSE(fs::exists(OnDisk(job.GetJobFileName())));
}

TEST_F(JobFileTest, DeleteJobFilePassesOnTheFileSystemsError) {
    auto fileSystem = std::make_shared<FailingFileSystem>();
    clsJobFile job(platform, fileSystem);
    ASSERT_TRUE(job.CreateJobFile(files));
    fileSystem->failDeleteFile = true;

    const auto error = RaisedBy([&] { job.DeleteJobFile(); });

    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->number(), kErrPathFileAccess);
    EXPECT_TRUE(fs::exists(OnDisk(job.GetJobFileName())));
}

TEST_F(JobFileTest, EachCreationMakesANewOrvFileAndLeavesTheOldOne) {
    clsJobFile job(platform);
    EXPECT_EQ(job.GetJobFileName(), L"");

    ASSERT_TRUE(job.CreateJobFile(files));
    const std::wstring first = job.GetJobFileName();
    ASSERT_TRUE(job.CreateJobFile(files));
    const std::wstring second = job.GetJobFileName();

    EXPECT_NE(first, second);
    for (const auto& path : {first, second}) {
        const fs::path file = OnDisk(path);
        EXPECT_EQ(file.parent_path(), root.path() / "temp");
        EXPECT_EQ(file.filename().string().rfind("ORV", 0), 0u) << file;
        EXPECT_EQ(file.extension(), ".TMP");
        EXPECT_TRUE(fs::exists(file));
    }
}

}  // namespace
}  // namespace orv::test
