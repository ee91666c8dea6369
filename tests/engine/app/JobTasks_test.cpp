// The optional tasks of a job run against the golden memory: the export of unknown segments,
// the export of frequent segments and the project TM, in TMX (read back with libxml2 and
// with the engine's own reader) and as text, and what happens when their files, or the logs,
// cannot be written.
//
// The golden batch (alpha.txt, beta.txt; see GoldenBatch_test.cpp) has nine distinct
// segments, here in batch order with their best match into German:
//   A1 100 (unit 1)   A2 95 (unit 2)   A3 88 (unit 3)   A5 100 (unit 7)   A6 no match
//   B1 75 (unit 4)    B2 72 (unit 5)   B3 relayed (unit 6 is French only)  B5 no match
// A1 and A3 occur twice (alpha's fourth and beta's fourth segments are repetitions).

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/JobTesting.h"
#include "engine/app/JobTasks.h"
#include "engine/model/EngineError.h"
#include "engine/system/SystemFile.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmxReader.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

const std::string kA1 = "The printer is ready to use.";
const std::string kA2 =
    "Before you start the installation, close all other programs and save every open file on "
    "your own computer.";
const std::string kA3 = "Press the red button to start the pump.";
const std::string kA5 = "The tank holds 25 litres.";
const std::string kA6 =
    "Write to support@example.com or visit https://www.example.com/help for details.";
const std::string kB1 = "Remove the lid before washing the filter.";
const std::string kB2 = "Check the power connections on the front of the device.";
const std::string kB3 = "Welcome to the support portal.";
const std::string kB5 = "Our office is closed for 12 days in August.";

// A TMX file as libxml2 reads it, without the engine's help; null when not well-formed.
using XmlDocument = std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)>;
XmlDocument ReadWithLibxml(const fs::path& file) {
    const std::string bytes = orv::test::ReadBytes(file);
    return {xmlReadMemory(bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr,
                          XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
            &xmlFreeDoc};
}

// The text content of each node `path` selects, in document order (a seg's includes its inline
// codes' content).
std::vector<std::string> Values(const XmlDocument& document, const char* path) {
    std::unique_ptr<xmlXPathContext, void (*)(xmlXPathContextPtr)> context(
        xmlXPathNewContext(document.get()), &xmlXPathFreeContext);
    std::unique_ptr<xmlXPathObject, void (*)(xmlXPathObjectPtr)> found(
        xmlXPathEvalExpression(BAD_CAST path, context.get()), &xmlXPathFreeObject);
    std::vector<std::string> values;
    for (int i = 0; found && found->nodesetval && i < found->nodesetval->nodeNr; ++i) {
        xmlChar* content = xmlNodeGetContent(found->nodesetval->nodeTab[i]);
        values.emplace_back(content ? reinterpret_cast<const char*>(content) : "");
        xmlFree(content);
    }
    return values;
}

// `text` with each run of whitespace made one space: a segment keeps the line break of a
// sentence that runs over two lines of a text document.
std::string Collapsed(const std::string& text) {
    std::string collapsed;
    for (char c : text) {
        const bool space = c == ' ' || c == '\n' || c == '\r' || c == '\t';
        if (!space || collapsed.empty() || collapsed.back() != ' ') collapsed += space ? ' ' : c;
    }
    return collapsed;
}

// A segment an export should hold, with its count in an export of frequent segments.
struct Exported {
    Exported(std::string text, int times = 0) : segment(std::move(text)), count(times) {}
    std::string segment;
    int count;
};

// An export in TMX holds the source segments only, with their counts as the usage count; as
// text, one segment a line, after its count and a tab.
void ExpectExport(const fs::path& file, int32_t fileType, const std::vector<Exported>& expected) {
    if (fileType != kTmxFileType) {
        std::string lines;
        for (const auto& e : expected)
            lines += (e.count ? std::to_string(e.count) + "\t" : "") + e.segment + "\n";
        EXPECT_EQ(ReadBytes(file), lines);
        return;
    }
    const auto tmx = ReadWithLibxml(file);
    ASSERT_TRUE(tmx) << "well-formed";
    EXPECT_THAT(Values(tmx, "/tmx/@version"), ElementsAre("1.4"));
    EXPECT_THAT(Values(tmx, "/tmx/header/@srclang"), ElementsAre("en-US"));
    EXPECT_THAT(Values(tmx, "/tmx/body/tu[count(tuv) != 1 or tuv[not(@xml:lang = 'en-US')]]"),
                IsEmpty())
        << "each unit the source segment only";
    std::vector<std::string> segments, counts;
    for (const auto& e : expected) {
        segments.push_back(e.segment);
        if (e.count) counts.push_back(std::to_string(e.count));
    }
    std::vector<std::string> texts = Values(tmx, "/tmx/body/tu/tuv/seg");
    for (std::string& text : texts) text = Collapsed(text);
    EXPECT_EQ(texts, segments);
    EXPECT_EQ(Values(tmx, "/tmx/body/tu/@usagecount"), counts);
}

class JobTasks : public GoldenTmJob {
protected:
    std::vector<fs::path> Golden() const { return {In("alpha.txt"), In("beta.txt")}; }

    // Runs a job that must fail with the engine's error, naming `named`.
    void ExpectFailure(const std::string& job, const std::wstring& named) {
        const auto error = RaisedBy([&] { Execute(job); });
        ASSERT_TRUE(error) << "the job went ahead";
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(named));
        EXPECT_EQ(app.control()->LastJobFailure(), error->description());
    }

    // What a failed job left of its logs: a CSV log file, or a readable log with the band
    // tables of a finished analysis, would pass for this job's results.
    void ExpectNoLogShowsResults() {
        EXPECT_FALSE(fs::is_regular_file(In("run.csv"))) << "a CSV log file of a failed job";
        if (fs::is_regular_file(In("run.log"))) {
            EXPECT_THAT(ReadBytes(In("run.log")), ::testing::Not(HasSubstr("All documents")))
                << "a readable log of a failed job shows results";
        }
    }
};

TEST_F(JobTasks, ExportUnknownWritesEachDistinctSegmentBelowMaxMatchOnceInBatchOrder) {
    const struct {
        int32_t maxMatch;
        std::vector<Exported> segments;
    } cases[] = {
        {0, {}},
        // A relayed segment has no match in the target language.
        {1, {kA6, kB3, kB5}},
        {75, {kA6, kB2, kB3, kB5}},
        {88, {kA6, kB1, kB2, kB3, kB5}},
        {89, {kA3, kA6, kB1, kB2, kB3, kB5}},
        {100, {kA2, kA3, kA6, kB1, kB2, kB3, kB5}},
        {101, {kA1, kA2, kA3, kA5, kA6, kB1, kB2, kB3, kB5}},
    };
    for (const auto& c : cases) {
        for (int32_t fileType : {kTmxFileType, 1, 7}) {
            SCOPED_TRACE("MaxMatch " + std::to_string(c.maxMatch) + ", file type " +
                         std::to_string(fileType));
            const fs::path file = In("unknown." + std::to_string(fileType));
            Execute(JobText(Golden(), {}, {ExportUnknownLines(c.maxMatch, file, fileType)}));
            ExpectExport(file, fileType, c.segments);
        }
    }
}

TEST_F(JobTasks, ExportFrequentWritesTheCountsMostFrequentFirstThenInBatchOrder) {
    // With gamma, A1 and B5 occur three times, A3 twice, the rest once.
    folder.Write("gamma.txt", kB5 + "\n\n" + kB5 + "\n\n" + kA1 + "\n");
    const std::vector<fs::path> documents = {In("alpha.txt"), In("beta.txt"), In("gamma.txt")};
    const std::vector<Exported> all = {{kA1, 3}, {kB5, 3}, {kA3, 2}, {kA2, 1}, {kA5, 1},
                                       {kA6, 1}, {kB1, 1}, {kB2, 1}, {kB3, 1}};
    const struct {
        int32_t occurrences;
        std::size_t expected;  // how many of `all`, from the front
    } cases[] = {{4, 0}, {3, 2}, {2, 3}, {1, 9}, {0, 9}, {-1, 9}};
    for (const auto& c : cases) {
        for (int32_t fileType : {kTmxFileType, 3}) {
            SCOPED_TRACE("Occurrences " + std::to_string(c.occurrences) + ", file type " +
                         std::to_string(fileType));
            const fs::path file = In("frequent." + std::to_string(fileType));
            Execute(JobText(documents, {}, {ExportFrequentLines(c.occurrences, file, fileType)}));
            ExpectExport(file, fileType, {all.begin(), all.begin() + c.expected});
        }
    }
}

TEST_F(JobTasks, ExportsKeepInlineCodesInTmxAndLeaveThemAndLineBreaksOutOfText) {
    folder.Write("codes.html",
                 "<p>Turn the <b>blue</b> wheel<br>\nto open the valve.</p>\n"
                 "<p>Fill the\ntank with water.</p>\n"
                 "<p>Close the tap<br>and the <i>valve</i>.</p>\n");
    const std::vector<fs::path> documents = {In("codes.html")};
    Execute(JobText(documents, {}, {ExportUnknownLines(100, In("unknown.tmx"), kTmxFileType)}));
    Execute(JobText(documents, {}, {ExportUnknownLines(100, In("unknown.txt"), 1)}));
    EXPECT_EQ(ReadBytes(In("unknown.txt")),
              "Turn the blue wheel to open the valve.\nFill the tank with water.\n"
              "Close the tap and the valve.\n");

    const TranslationMemory exported = ReadTmxFile(FromNarrow(In("unknown.tmx").string()));
    ASSERT_EQ(exported.units.size(), 3u);
    const Segment& first = exported.units[0].source;
    const std::wstring mark(1, kCodeMark);
    EXPECT_EQ(first.text,
              L"Turn the " + mark + L"blue" + mark + L" wheel" + mark + L" to open the valve.");
    ASSERT_EQ(first.codes.size(), 3u);
    EXPECT_EQ(first.codes[0].kind, InlineCode::Kind::Begin);
    EXPECT_EQ(first.codes[1].kind, InlineCode::Kind::End);
    EXPECT_EQ(first.codes[2].kind, InlineCode::Kind::Standalone);
    EXPECT_TRUE(exported.units[0].targets.empty());

    // A placeholder is no formatting: the text export keeps it where it stands.
    folder.Write("messages.po",
                 "msgid \"Cannot skip file %s for writing.\"\nmsgstr \"\"\n\n"
                 "msgid \"Copied {0} of %2$d files.\"\nmsgstr \"\"\n");
    Execute(JobText({In("messages.po")}, {}, {ExportUnknownLines(100, In("placeholders.txt"), 1)}));
    EXPECT_EQ(ReadBytes(In("placeholders.txt")),
              "Cannot skip file %s for writing.\nCopied {0} of %2$d files.\n");
}

TEST_F(JobTasks, ProjectTmHoldsExactlyTheUnitsThatGaveAMatchAtOrAboveTheFloorInTmOrder) {
    const TranslationMemory golden = ReadTmxFile(folder.wpath("memory.tmx"));
    const struct {
        int32_t minimumMatchValue;
        std::vector<fs::path> documents;
        std::vector<std::size_t> units;  // positions in the golden memory
    } cases[] = {
        // Unit 6 only relays (French), so it is not there.
        {0, Golden(), {0, 1, 2, 3, 4, 6}},
        {72, Golden(), {0, 1, 2, 3, 4, 6}},
        {73, Golden(), {0, 1, 2, 3, 6}},
        {100, Golden(), {0, 6}},
        // Repetitions and no matches only: an empty project TM.
        {100, {In("beta.txt")}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("minimum " + std::to_string(c.minimumMatchValue) + ", " +
                     std::to_string(c.documents.size()) + " documents");
        app.get_GeneralOptions()->put_MinimumMatchValue(c.minimumMatchValue);
        Execute(JobText(c.documents, {}, {ProjectTmLines(In("project.tmx"))}));

        const auto tmx = ReadWithLibxml(In("project.tmx"));
        ASSERT_TRUE(tmx) << "well-formed";
        EXPECT_THAT(Values(tmx, "/tmx/header/@srclang"), ElementsAre("en-US"));
        std::vector<std::string> sources;
        for (std::size_t u : c.units) sources.push_back(ToUtf8(golden.units[u].source.text));
        EXPECT_EQ(Values(tmx, "/tmx/body/tu/tuv[1]/seg"), sources);
        const TranslationMemory project = ReadTmxFile(folder.wpath("project.tmx"));
        EXPECT_EQ(project.sourceLanguage, golden.sourceLanguage);
        EXPECT_EQ(project.targetLanguages, golden.targetLanguages);
        ASSERT_EQ(project.units.size(), c.units.size());
        for (std::size_t i = 0; i < c.units.size(); ++i) {
            const TranslationUnit& expected = golden.units[c.units[i]];
            const TranslationUnit& unit = project.units[i];
            EXPECT_EQ(unit.source, expected.source) << i;
            ASSERT_EQ(unit.targets.size(), expected.targets.size()) << i;
            for (std::size_t t = 0; t < expected.targets.size(); ++t) {
                EXPECT_EQ(unit.targets[t].language, expected.targets[t].language);
                EXPECT_EQ(unit.targets[t].segment, expected.targets[t].segment);
            }
        }
    }
}

TEST_F(JobTasks, AnOutputThatCannotBeWrittenFailsTheJobWithItsNameAndWritesNoLog) {
    fs::create_directory(In("folder.tmx"));
    fs::create_directory(In("folder.txt"));
    // Every output in either format, into a folder that is missing or onto a folder.
    for (const std::string extension : {"tmx", "txt"}) {
        const int32_t fileType = extension == "tmx" ? kTmxFileType : 1;
        for (const fs::path& file :
             {In("no such folder") / ("out." + extension), In("folder." + extension)}) {
            for (const std::string& task :
                 {ExportUnknownLines(100, file, fileType), ExportFrequentLines(1, file, fileType),
                  ProjectTmLines(file)}) {
                SCOPED_TRACE(task);
                ExpectFailure(JobText(Golden(), In("run.log"), {task}), FromNarrow(file.string()));
                ExpectNoLogShowsResults();
                EXPECT_TRUE(fs::is_directory(In("folder.tmx")) &&
                            fs::is_directory(In("folder.txt")));
            }
        }
    }
    auto left = Listing(folder.path());
    // The open TM's lock, where it is held on a file of its own.
    const std::wstring tmFile = In("memory.tmx").wstring();
    if (LockFileOf(tmFile) != tmFile) left.erase(fs::path(LockFileOf(tmFile)).filename().string());
    EXPECT_EQ(left, (std::set<std::string>{"alpha.txt", "beta.txt", "memory.tmx", "job.tmp",
                                           "folder.tmx", "folder.txt"}))
        << "no temporary file left behind";

    Execute(JobText(Golden(), In("run.log")));
    EXPECT_TRUE(app.control()->LastJobFailure().empty())
        << "a job that succeeds clears the failure";
}

// Each log alone would pass for the job's results, so neither outlives a failure of the other.
TEST_F(JobTasks, ALogThatCannotBeWrittenFailsTheJobWithItsNameAndLeavesNoLogThatShowsResults) {
    for (const char* blocked : {"run.log", "run.csv"}) {
        SCOPED_TRACE(blocked);
        fs::create_directory(In(blocked));
        ExpectFailure(JobText(Golden(), In("run.log")), folder.wpath(blocked));
        ExpectNoLogShowsResults();
        EXPECT_TRUE(fs::is_directory(In(blocked))) << "the folder in the way was removed";
        fs::remove(In(blocked));
    }
}

// An output over an input would replace the user's data, however the path is spelled.
TEST_F(JobTasks, AnOutputNamedLikeAnInputOrAnotherOutputFailsTheJobBeforeAnythingIsWritten) {
    const std::string memory = ReadBytes(In("memory.tmx"));
    const std::string alpha = ReadBytes(In("alpha.txt"));
    const fs::path memoryTm = In("memory.tmx");
    const fs::path shared = In("shared.txt");
    const struct {
        const wchar_t* named;
        std::vector<std::string> tasks;
        fs::path log = {};
    } cases[] = {
        {L"memory.tmx", {ExportUnknownLines(100, memoryTm, kTmxFileType)}},
        {L"memory.tmx", {ExportUnknownLines(100, folder.path() / "." / "memory.tmx", 1)}},
        {L"memory.tmx", {ExportFrequentLines(1, memoryTm, 1)}},
        {L"memory.tmx", {ProjectTmLines(memoryTm)}},
        {L"memory.tmx", {}, memoryTm},  // the readable log
        {L"alpha.txt", {ExportUnknownLines(100, In("alpha.txt"), 1)}},
        {L"shared.txt", {ExportUnknownLines(100, shared, 1), ExportFrequentLines(1, shared, 1)}},
    };
    for (const auto& c : cases) {
        const std::string job = JobText(Golden(), c.log, c.tasks);
        SCOPED_TRACE(job);
        ExpectFailure(job, c.named);
        EXPECT_EQ(ReadBytes(In("memory.tmx")), memory) << "the TM file was replaced";
        EXPECT_EQ(ReadBytes(In("alpha.txt")), alpha) << "a document was replaced";
        EXPECT_FALSE(fs::exists(shared));
    }
}

}  // namespace
}  // namespace orv::engine::test
