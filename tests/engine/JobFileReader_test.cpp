#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/job/JobFile.h"
#include "jobfile/clsJobFile.h"
#include "platform/AutomationError.h"
#include "results/Files.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// "|" stands for a CR LF line end.
std::string Lines(const std::string& text) {
    return Replaced(text, "|", "\r\n");
}

const std::string kWorkedExample = Lines(
    "[Settings]|SGMLSettingsFile = \"C:\\Settings\\manuals.ini\"|||"
    "[Analyse]|UseTMFromPreviousAnalysis = 1|LogFile = \"C:\\Batch\\analysis.log\"|Tasks = 4|||"
    "[Task1]|Task = Analyse|Files = 2|File1 = \"C:\\Docs\\chapter 1.rtf\"|"
    "File2 = \"C:\\Docs\\chapter 2.rtf\"|||"
    "[Task2]|Task = ExportUnknown|MaxMatch = 85|File = \"C:\\Batch\\unmatched.txt\"|FileType = 2|||"
    "[Task3]|Task = ExportFrequent|Occurrences = 5|File = \"C:\\Batch\\frequent.txt\"|"
    "FileType = 1|||"
    "[Task4]|Task = CreateProjectTM|File = \"C:\\Batch\\project.tmv\"|");

TEST(JobFileReader, ReadsTheWorkedExampleWhateverItsLineEndsLetterCaseAndQuotes) {
    JobDescription expected;
    expected.sgmlSettingsFile = L"C:\\Settings\\manuals.ini";
    expected.useTMFromPreviousAnalysis = true;
    expected.logFile = L"C:\\Batch\\analysis.log";
    expected.documents = {L"C:\\Docs\\chapter 1.rtf", L"C:\\Docs\\chapter 2.rtf"};
    expected.exportUnknown = ExportUnknownTask{85, L"C:\\Batch\\unmatched.txt", 2};
    expected.exportFrequent = ExportFrequentTask{5, L"C:\\Batch\\frequent.txt", 1};
    expected.projectTM = ProjectTMTask{L"C:\\Batch\\project.tmv"};

    for (const std::string& text : {
             kWorkedExample,
             Replaced(kWorkedExample, "\r\n", "\n"),
             kWorkedExample + "\r\n\r\n",
             "\xEF\xBB\xBF" + kWorkedExample,
             kWorkedExample.substr(0, kWorkedExample.size() - 2),
             Replaced(Replaced(kWorkedExample, "[Task3]", "[TASK3]"), "Analyse", "ANALYSE"),
             Replaced(kWorkedExample, "\"C:\\Batch\\project.tmv\"", "C:\\Batch\\project.tmv"),
         }) {
        EXPECT_EQ(ParseJobFile(text, L"job.tmp"), expected) << text;
    }
}

// Every layout the component writes, made by the component's own writer and read back.
TEST(JobFileReader, ReadsBackEveryLayoutTheComponentWrites) {
    test::TempFolder root;
    root.Write("s.ini", "");
    root.Write("h\xC3\xA9.ini", "");
    const std::wstring settings = root.wpath("s.ini"), html = root.wpath("h\xC3\xA9.ini"),
                       log = root.wpath("a.log"), unknown = root.wpath("u.txt"),
                       frequent = root.wpath("f.txt"), project = root.wpath("p.tmv");
    std::filesystem::create_directory(root.path() / "temp");
    auto platform = std::make_shared<test::FakePlatform>();
    platform->environment[L"TEMP"] = root.wpath("temp");

    const auto roundTrip = [&](const JobDescription& job) {
        clsJobFile writer(platform);
        if (job.sgmlSettingsFile) writer.put_SGMLSettingsFileName(*job.sgmlSettingsFile);
        if (job.htmlSettingsFile) writer.put_HTMLSettingsFileName(*job.htmlSettingsFile);
        writer.put_UseTMFromPreviousAnalysis(job.useTMFromPreviousAnalysis);
        if (job.logFile) writer.put_LogFileName(*job.logFile);
        if (const auto& task = job.exportUnknown) {
            writer.put_ExportUnknownFileName(task->file);
            writer.put_ExportUnknownMaxMatch(task->maxMatch);
            writer.put_ExportUnknownFileType(TsExportFileType{task->fileType});
        }
        if (const auto& task = job.exportFrequent) {
            writer.put_ExportFrequentFileName(task->file);
            writer.put_ExportFrequentOccurrences(task->occurrences);
            writer.put_ExportFrequentFileType(TsExportFileType{task->fileType});
        }
        if (job.projectTM) writer.put_CreateProjectTMFileName(job.projectTM->file);
        Files files;
        for (const std::wstring& document : job.documents) files.Add(document);
        writer.CreateJobFile(files);
        JobDescription read = ReadJobFile(writer.GetJobFileName());
        writer.DeleteJobFile();
        return read;
    };
    // Parts by initial: Settings, Log, Unknown export, Frequent export, Project TM; `n` is
    // MaxMatch, Occurrences and the file types.
    const auto layout = [&](std::string parts, std::vector<std::wstring> documents, int32_t n) {
        const auto has = [&](char part) { return parts.find(part) != std::string::npos; };
        JobDescription job;
        job.useTMFromPreviousAnalysis = has('L');
        job.documents = std::move(documents);
        if (has('S')) job.sgmlSettingsFile = settings, job.htmlSettingsFile = html;
        if (has('L')) job.logFile = log;
        if (has('U')) job.exportUnknown = {{n, unknown, n}};
        if (has('F')) job.exportFrequent = {{n, frequent, n}};
        if (has('P')) job.projectTM = {{project}};
        return job;
    };
    const JobDescription layouts[] = {layout("", {L"a.rtf"}, 0),
                                      layout("", {}, 0),
                                      layout("SLUFP", {L"a.rtf", L"b.rtf"}, 85),
                                      layout("LP", {L"a.rtf"}, 0),
                                      layout("SFP", {L"a.rtf"}, -5),
                                      layout("UF", {L"a.rtf"}, INT32_MIN),
                                      layout("U", {L"a.rtf"}, INT32_MAX)};
    for (const JobDescription& job : layouts) EXPECT_EQ(roundTrip(job), job);

    // What quoting makes of paths: trimmed, one pair of quotes, a blank path a lone quote.
    EXPECT_EQ(
        roundTrip(layout("",
                         {L"   ", L"", L" padded.rtf ", L"\"quoted.rtf\"", L"K\u00fcche = [x].rtf"},
                         0))
            .documents,
        (std::vector<std::wstring>{L"", L"", L"padded.rtf", L"quoted.rtf",
                                   L"K\u00fcche = [x].rtf"}));
}

TEST(JobFileReader, AJobThatCannotBeRunFailsSayingWhatIsWrong) {
    const std::string analyse = "[Analyse]|Tasks = 1|";
    const std::string task1 = "[Task1]|Task = Analyse|Files = 1|File1 = \"a.rtf\"|";
    const std::string tasks2 = "[Analyse]|Tasks = 2|" + task1 + "[Task2]|";
    const std::pair<std::string, std::wstring> cases[] = {
        {"[Settings]|SGMLSettingsFile = \"s.ini\"|" + task1, L"the file has no [Analyse] section"},
        {analyse + "[Task2]|Task = CreateProjectTM|File = p|", L"the file has no [Task1] section"},
        {"[Analyse]|Tasks = 2|" + task1, L"Tasks line of [Analyse] says 2 but the file has 1 task"},
        {"[Analyse]|Tasks = 2|" + task1 + "[Task3]|Task = CreateProjectTM|File = p|",
         L"the file has no [Task2] section"},
        {analyse + "[Task1]|Task = Analyse|Files = 2|File1 = a|",
         L"the Files line of [Task1] says 2 but the task has 1 numbered File lines"},
        {analyse + "[Task1]|Task = Analyse|Files = 1|File2 = a|", L"[Task1] has no File1 line"},
        {analyse + "[Task1]|Task = Analyse|", L"[Task1] has no Files line"},
        {analyse + "[Task1]|Task = Translate|", L"[Task1] names the unknown task \"Translate\""},
        {tasks2 + "Task = ExportUnknown|File = u|FileType = 2|", L"[Task2] has no MaxMatch line"},
        {tasks2 + "Task = ExportUnknown|MaxMatch = 1|FileType = 2|", L"[Task2] has no File line"},
        {tasks2 + "Task = ExportFrequent|Occurrences = 1|File = u|", L"has no FileType line"},
        {tasks2 + "Task = CreateProjectTM|", L"[Task2] has no File line"},
        {tasks2 + "Task = ExportUnknown|MaxMatch = 2147483648|File = u|FileType = 2|",
         L"the MaxMatch line of [Task2] holds \"2147483648\", which is not a 32-bit whole number"},
        {tasks2 + "Task = ExportFrequent|Occurrences = 5|File = u|FileType = 2.0|",
         L"the FileType line of [Task2] holds \"2.0\""},
        {"[Analyse]|Tasks = -|" + task1, L"the Tasks line of [Analyse] holds \"-\""},
        {"[Analyse]|Tasks = -2147483649|" + task1, L"holds \"-2147483649\""},
        {"[Analyse]|UseTMFromPreviousAnalysis = yes|" + task1, L"holds \"yes\""},
    };
    for (const auto& [text, expected] : cases) {
        try {
            ParseJobFile(Lines(text), L"job.tmp");
            ADD_FAILURE() << "no error for " << text;
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.description().rfind(L"Cannot read job file job.tmp: ", 0), 0u);
            EXPECT_NE(error.description().find(expected), std::wstring::npos)
                << testing::PrintToString(error.description());
        }
    }

    test::TempFolder folder;
    EXPECT_THROW(ReadJobFile(folder.wpath("gone.tmp")), AutomationError);
}

TEST(JobFileReader, WhatTheComponentNeverWritesIsReadLeniently) {
    // No Tasks line: the task sections count; unknown sections and keys, stray lines and a
    // section named twice do no harm.
    const JobDescription job = ParseJobFile(
        Lines("stray line|[Analyse]|LogFile =|Comment = x|[Other]|A = 1|[Task1]|Task = analyse|"
              "Files = 1|no equals sign|[Analyse]|UseTMFromPreviousAnalysis = -1|[Task1]|"
              "File1 = \"a\"|[Task2]|Task = CreateProjectTM|File = \"\"\"|"),
        L"job.tmp");
    JobDescription expected;
    expected.logFile = L"";
    expected.useTMFromPreviousAnalysis = true;
    expected.documents = {L"a"};
    expected.projectTM = ProjectTMTask{L"\""};
    EXPECT_EQ(job, expected);
}

}  // namespace
}  // namespace orv::engine
