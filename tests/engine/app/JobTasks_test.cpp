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

#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/JobTesting.h"
#include "engine/app/EngineControl.h"
#include "engine/app/JobTasks.h"
#include "engine/model/EngineError.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/Utf8.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

using ::testing::ElementsAreArray;
using ::testing::HasSubstr;

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

// A TMX file as libxml2 reads it, without the engine's help.
struct TmxVariant {
    std::string language;
    std::string text;  // the seg's text content, inline codes' content included
};
struct TmxUnitRead {
    std::optional<std::string> usageCount;
    std::vector<TmxVariant> variants;
};
struct TmxRead {
    std::string version;
    std::string sourceLanguage;
    std::vector<TmxUnitRead> units;
};

std::string Attribute(xmlNode* node, const char* name, const xmlChar* ns = nullptr) {
    xmlChar* value = ns ? xmlGetNsProp(node, BAD_CAST name, ns) : xmlGetProp(node, BAD_CAST name);
    if (!value) return "<none>";
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

std::vector<xmlNode*> Children(xmlNode* parent, const char* name) {
    std::vector<xmlNode*> found;
    for (xmlNode* child = parent ? parent->children : nullptr; child; child = child->next) {
        if (child->type == XML_ELEMENT_NODE && xmlStrEqual(child->name, BAD_CAST name))
            found.push_back(child);
    }
    return found;
}

// None when the file is not well-formed XML.
std::optional<TmxRead> ReadWithLibxml(const fs::path& file) {
    std::unique_ptr<xmlDoc, void (*)(xmlDocPtr)> doc(
        xmlReadFile(file.c_str(), nullptr,
                    XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING),
        &xmlFreeDoc);
    if (!doc) return std::nullopt;
    xmlNode* root = xmlDocGetRootElement(doc.get());
    TmxRead tmx;
    if (!root || !xmlStrEqual(root->name, BAD_CAST "tmx")) return tmx;
    tmx.version = Attribute(root, "version");
    for (xmlNode* header : Children(root, "header"))
        tmx.sourceLanguage = Attribute(header, "srclang");
    for (xmlNode* body : Children(root, "body")) {
        for (xmlNode* tu : Children(body, "tu")) {
            TmxUnitRead unit;
            if (xmlHasProp(tu, BAD_CAST "usagecount"))
                unit.usageCount = Attribute(tu, "usagecount");
            for (xmlNode* tuv : Children(tu, "tuv")) {
                std::string text;
                for (xmlNode* seg : Children(tuv, "seg")) {
                    xmlChar* content = xmlNodeGetContent(seg);
                    if (content) text += reinterpret_cast<const char*>(content);
                    xmlFree(content);
                }
                unit.variants.push_back({Attribute(tuv, "lang", XML_XML_NAMESPACE), text});
            }
            tmx.units.push_back(std::move(unit));
        }
    }
    return tmx;
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

// The source texts of a TMX export, after checking that each unit is a source segment only.
std::vector<std::string> ExportedTexts(const TmxRead& tmx) {
    std::vector<std::string> texts;
    for (const auto& unit : tmx.units) {
        EXPECT_EQ(unit.variants.size(), 1u) << "source language only";
        if (unit.variants.empty()) continue;
        EXPECT_EQ(unit.variants[0].language, "en-US");
        texts.push_back(Collapsed(unit.variants[0].text));
    }
    return texts;
}

class JobTasks : public GoldenTmJob {
protected:
    std::vector<fs::path> Golden() const { return {In("alpha.txt"), In("beta.txt")}; }
};

TEST_F(JobTasks, ExportUnknownWritesEachDistinctSegmentBelowMaxMatchOnceInBatchOrder) {
    const struct {
        int32_t maxMatch;
        std::vector<std::string> segments;
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
            if (fileType == kTmxFileType) {
                const auto tmx = ReadWithLibxml(file);
                ASSERT_TRUE(tmx) << "well-formed";
                EXPECT_EQ(tmx->version, "1.4");
                EXPECT_EQ(tmx->sourceLanguage, "en-US");
                EXPECT_THAT(ExportedTexts(*tmx), ElementsAreArray(c.segments));
                for (const auto& unit : tmx->units) EXPECT_FALSE(unit.usageCount);
            } else {
                std::string lines;
                for (const auto& segment : c.segments) lines += segment + "\n";
                EXPECT_EQ(ReadBytes(file), lines);
            }
        }
    }
}

TEST_F(JobTasks, ExportFrequentWritesTheCountsMostFrequentFirstThenInBatchOrder) {
    // With gamma, A1 and B5 occur three times, A3 twice, the rest once.
    folder.Write("gamma.txt", kB5 + "\n\n" + kB5 + "\n\n" + kA1 + "\n");
    const std::vector<fs::path> documents = {In("alpha.txt"), In("beta.txt"), In("gamma.txt")};
    struct Counted {
        int count;
        std::string segment;
    };
    const std::vector<Counted> all = {{3, kA1}, {3, kB5}, {2, kA3}, {1, kA2}, {1, kA5},
                                      {1, kA6}, {1, kB1}, {1, kB2}, {1, kB3}};
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
            const std::vector<Counted> expected(all.begin(), all.begin() + c.expected);
            if (fileType == kTmxFileType) {
                const auto tmx = ReadWithLibxml(file);
                ASSERT_TRUE(tmx) << "well-formed";
                ASSERT_EQ(tmx->units.size(), expected.size());
                const auto texts = ExportedTexts(*tmx);
                ASSERT_EQ(texts.size(), expected.size());
                for (std::size_t i = 0; i < expected.size(); ++i) {
                    EXPECT_EQ(texts[i], expected[i].segment);
                    EXPECT_EQ(tmx->units[i].usageCount, std::to_string(expected[i].count));
                }
            } else {
                std::string lines;
                for (const auto& e : expected)
                    lines += std::to_string(e.count) + "\t" + e.segment + "\n";
                EXPECT_EQ(ReadBytes(file), lines);
            }
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
        const fs::path file = In("project.tmx");
        Execute(JobText(c.documents, {}, {ProjectTmLines(file)}));

        const auto tmx = ReadWithLibxml(file);
        ASSERT_TRUE(tmx) << "well-formed";
        EXPECT_EQ(tmx->sourceLanguage, "en-US");
        ASSERT_EQ(tmx->units.size(), c.units.size());
        for (std::size_t i = 0; i < c.units.size(); ++i) {
            ASSERT_FALSE(tmx->units[i].variants.empty());
            EXPECT_EQ(tmx->units[i].variants[0].text, ToUtf8(golden.units[c.units[i]].source.text));
        }

        const TranslationMemory project = ReadTmxFile(FromNarrow(file.string()));
        EXPECT_EQ(project.sourceLanguage, golden.sourceLanguage);
        EXPECT_EQ(project.targetLanguages, golden.targetLanguages);
        ASSERT_EQ(project.units.size(), c.units.size());
        for (std::size_t i = 0; i < c.units.size(); ++i) {
            const TranslationUnit& expected = golden.units[c.units[i]];
            EXPECT_EQ(project.units[i].source, expected.source) << i;
            ASSERT_EQ(project.units[i].targets.size(), expected.targets.size()) << i;
            for (std::size_t t = 0; t < expected.targets.size(); ++t) {
                EXPECT_EQ(project.units[i].targets[t].language, expected.targets[t].language);
                EXPECT_EQ(project.units[i].targets[t].segment, expected.targets[t].segment);
            }
        }
    }
}

// What a job that failed left of its logs: a CSV log file, or a readable log with the band
// tables of a finished analysis, would pass for this job's results.
void ExpectNoLogPretendsSuccess(const fs::path& log, const fs::path& csv) {
    EXPECT_FALSE(fs::is_regular_file(csv)) << "a CSV log file of a failed job";
    if (fs::is_regular_file(log)) {
        EXPECT_THAT(ReadBytes(log), ::testing::Not(HasSubstr("All documents")))
            << "a readable log of a failed job shows results";
    }
}

TEST_F(JobTasks, AnOutputThatCannotBeWrittenFailsTheJobWithItsNameAndWritesNoLog) {
    fs::create_directory(In("folder.tmx"));
    fs::create_directory(In("folder.txt"));
    const fs::path missing = In("no such folder");
    const struct {
        const char* what;
        std::string task;
        fs::path file;  // the one the description names
    } cases[] = {
        {"unknown, TMX, folder missing", ExportUnknownLines(100, missing / "u.tmx", kTmxFileType),
         missing / "u.tmx"},
        {"unknown, TMX, a folder in the way",
         ExportUnknownLines(100, In("folder.tmx"), kTmxFileType), In("folder.tmx")},
        {"unknown, text, folder missing", ExportUnknownLines(100, missing / "u.txt", 1),
         missing / "u.txt"},
        {"unknown, text, a folder in the way", ExportUnknownLines(100, In("folder.txt"), 1),
         In("folder.txt")},
        {"frequent, TMX, folder missing", ExportFrequentLines(1, missing / "f.tmx", kTmxFileType),
         missing / "f.tmx"},
        {"frequent, text, a folder in the way", ExportFrequentLines(1, In("folder.txt"), 1),
         In("folder.txt")},
        {"project TM, folder missing", ProjectTmLines(missing / "p.tmx"), missing / "p.tmx"},
        {"project TM, a folder in the way", ProjectTmLines(In("folder.tmx")), In("folder.tmx")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto error = RaisedBy([&] { Execute(JobText(Golden(), In("run.log"), {c.task})); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(FromNarrow(c.file.string())));
        EXPECT_EQ(LastJobFailure(), error->description());
        ExpectNoLogPretendsSuccess(In("run.log"), In("run.csv"));
        EXPECT_TRUE(fs::is_directory(In("folder.tmx")) && fs::is_directory(In("folder.txt")));
    }
    EXPECT_EQ(Listing(folder.path()),
              (std::set<std::string>{"alpha.txt", "beta.txt", "memory.tmx", "job.tmp", "folder.tmx",
                                     "folder.txt"}))
        << "no temporary file left behind";

    Execute(JobText(Golden(), In("run.log")));
    EXPECT_TRUE(LastJobFailure().empty()) << "a job that succeeds clears the failure";
}

// Each log alone would pass for the job's results, so neither outlives a failure of the other.
TEST_F(JobTasks, ALogThatCannotBeWrittenFailsTheJobWithItsNameAndLeavesNoLogThatShowsResults) {
    for (const char* blocked : {"run.log", "run.csv"}) {
        SCOPED_TRACE(blocked);
        fs::create_directory(In(blocked));
        const auto error = RaisedBy([&] { Execute(JobText(Golden(), In("run.log"))); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(folder.wpath(blocked)));
        ExpectNoLogPretendsSuccess(In("run.log"), In("run.csv"));
        EXPECT_TRUE(fs::is_directory(In(blocked))) << "the folder in the way was removed";
        fs::remove(In(blocked));
    }
}

// An output over an input would replace the user's data, however the path is spelled.
TEST_F(JobTasks, AnOutputNamedLikeAnInputOrAnotherOutputFailsTheJobBeforeAnythingIsWritten) {
    const std::string memory = ReadBytes(In("memory.tmx"));
    const std::string alpha = ReadBytes(In("alpha.txt"));
    const fs::path sameTm = In("memory.tmx");
    const fs::path otherSpelling = folder.path() / "." / "memory.tmx";
    const fs::path shared = In("shared.txt");
    const struct {
        const char* what;
        fs::path log;
        std::vector<std::string> tasks;
        const wchar_t* named;
    } cases[] = {
        {"unknown segments", {}, {ExportUnknownLines(100, sameTm, kTmxFileType)}, L"memory.tmx"},
        {"unknown segments, another spelling",
         {},
         {ExportUnknownLines(100, otherSpelling, 1)},
         L"memory.tmx"},
        {"frequent segments", {}, {ExportFrequentLines(1, sameTm, 1)}, L"memory.tmx"},
        {"project TM", {}, {ProjectTmLines(sameTm)}, L"memory.tmx"},
        {"readable log", sameTm, {}, L"memory.tmx"},
        {"a document", {}, {ExportUnknownLines(100, In("alpha.txt"), 1)}, L"alpha.txt"},
        {"two exports into one file",
         {},
         {ExportUnknownLines(100, shared, 1), ExportFrequentLines(1, shared, 1)},
         L"shared.txt"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const auto error = RaisedBy([&] { Execute(JobText(Golden(), c.log, c.tasks)); });
        EXPECT_TRUE(error) << "the job went ahead";
        if (error) {
            EXPECT_EQ(error->number(), kEngineFailure);
            EXPECT_THAT(error->description(), HasSubstr(c.named));
        }
        EXPECT_EQ(ReadBytes(In("memory.tmx")), memory) << "the TM file was replaced";
        EXPECT_EQ(ReadBytes(In("alpha.txt")), alpha) << "a document was replaced";
        EXPECT_FALSE(fs::exists(shared));
    }
}

}  // namespace
}  // namespace orv::engine::test
