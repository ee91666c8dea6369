// The engine as Tessera's application object: empty TMs created for a language pair, TMs
// opened from TMX files and what a failure to open says, the target language, the TM
// object's life, and the running instance that the object services find.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AppTesting.h"
#include "engine/app/EngineApplication.h"
#include "engine/app/EngineObjectServices.h"
#include "engine/model/EngineError.h"
#include "engine/tm/TmxReader.h"

namespace orv::engine::test {
namespace {

using ::testing::AllOf;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Not;

void CreateTM(EngineApplication& app, const std::wstring& path, int32_t source, int32_t target) {
    app.CreateTM(path, L"", source, L"", target, L"", -1, -1, -1, -1, -1, -1, -1, L"", L"", L"");
}

TEST(EngineApplication, CreateTMWritesAnEmptyTmxNamedFolderBaseTmvAndOpensIt) {
    const struct {
        const char* path;
        const char* written;
    } cases[] = {
        {"ORV1A2B.tmp", "ORV1A2B.tmv"},
        {"empty", "empty.tmv"},
        {"a.b/name.x.tmp", "a.b/name.x.tmv"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        TempFolder folder;
        fs::create_directory(folder.path() / "a.b");
        EngineApplication app;
        CreateTM(app, folder.wpath(c.path), 1033, 1031);

        const auto tm = app.get_CurrentTM();
        ASSERT_TRUE(tm && tm->get_IsOpen());
        EXPECT_EQ(tm->get_SourceLanguage(), 1033);
        EXPECT_THAT(tm->get_TargetLanguages(), ElementsAre(1031));
        const TranslationMemory written = ReadTmxFile(folder.wpath(c.written));
        EXPECT_EQ(written.sourceLanguage, L"en-US");
        EXPECT_THAT(written.targetLanguages, ElementsAre(L"de-DE"));
        EXPECT_TRUE(written.units.empty());
        EXPECT_EQ(fs::exists(folder.path() / c.path), std::string(c.path) == c.written);
    }
}

TEST(EngineApplication, CreateTMRefusesUnknownLanguagesAndPathsWithoutAFileName) {
    TempFolder folder;
    const struct {
        std::wstring path;
        int32_t source, target;
        const wchar_t* why;
    } cases[] = {
        {folder.wpath("x.tmp"), 0, 1031, L"names no known language"},
        {folder.wpath("x.tmp"), 1033, 0x7FFFFFFF, L"names no known language"},
        {folder.wpath("x.tmp"), -1, -1, L"names no known language"},
        {folder.wpath() + L"/", 1033, 1031, L"names no file"},
        {L"", 1033, 1031, L"names no file"},
    };
    for (const auto& c : cases) {
        EngineApplication app;
        const auto error = RaisedBy([&] { CreateTM(app, c.path, c.source, c.target); });
        ASSERT_TRUE(error) << testing::PrintToString(c.path);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(c.why));
        EXPECT_FALSE(app.get_CurrentTM()->get_IsOpen());
    }
    EXPECT_TRUE(Listing(folder.path()).empty());
}

TEST(EngineTM, OpenFailsWithTheReasonAndNeverWithAWrongPasswordCode) {
    TempFolder folder;
    fs::create_directory(folder.path() / "50003");
    fs::create_directory(folder.path() / "x50000");
    // Well-formed up to line 50000, where </tmx> closes <body>.
    folder.Write("50003/damaged.tmx",
                 "<?xml version=\"1.0\"?>\n<tmx version=\"1.4\"><header "
                 "srclang=\"en-US\"/><body>" +
                     std::string(49998, '\n') + "</tmx>\n");
    folder.Write("x50000/empty.tmx", "");
    folder.Write("x50000/text.tmx", "The printer is ready to use.");
    const struct {
        const char* path;
        const wchar_t* why;
    } cases[] = {
        {"50003/missing.tmx", L"the file does not exist"},
        {"50003/damaged.tmx", L"line 5000"},
        {"x50000/empty.tmx", L"the file is empty"},
        {"x50000/text.tmx", L"line 1"},
        {"50003", L"names a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EngineApplication app;
        const auto tm = app.get_CurrentTM();
        const auto error = RaisedBy([&] { tm->Open(folder.wpath(c.path), L"anna", L"", L"w"); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_EQ(error->source(), L"OrvBatchAnalyse engine");
        // In a path, 50000 or 50003 would read as a wrong user or password.
        EXPECT_THAT(error->description(),
                    AllOf(HasSubstr(L"Cannot read TM "), HasSubstr(c.why), Not(HasSubstr(L"50000")),
                          Not(HasSubstr(L"50003"))));
        EXPECT_FALSE(tm->get_IsOpen());
    }
}

TEST(EngineTM, OffersTheTmsTargetLanguagesAndRefusesAnyOther) {
    TempFolder folder;
    CopyGolden(folder);
    EngineApplication app;
    const auto tm = app.get_CurrentTM();
    EXPECT_TRUE(RaisedBy([&] { tm->put_TargetLanguage(1031); })) << "no TM is open";

    tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"w");
    EXPECT_EQ(tm->get_SourceLanguage(), 1033);
    EXPECT_THAT(tm->get_TargetLanguages(), ElementsAre(1031, 1036));
    for (int32_t id : {1031, 1036}) EXPECT_FALSE(RaisedBy([&] { tm->put_TargetLanguage(id); }));

    const struct {
        int32_t id;
        const wchar_t* named;
    } refused[] = {{1040, L"it-IT"}, {1033, L"en-US"}, {0, L"the language asked for"}};
    for (const auto& r : refused) {
        const auto error = RaisedBy([&] { tm->put_TargetLanguage(r.id); });
        ASSERT_TRUE(error) << r.id;
        EXPECT_EQ(error->description(),
                  L"The translation memory has no translations into " + std::wstring(r.named));
    }
}

TEST(EngineApplication, CurrentTMIsAlwaysThereAndOpenOnlyBetweenOpenAndClose) {
    TempFolder folder;
    CopyGolden(folder);
    EngineApplication app;
    const auto tm = app.get_CurrentTM();
    ASSERT_NE(tm, nullptr);
    EXPECT_FALSE(tm->get_IsOpen());
    const auto unopened = RaisedBy([&] { tm->ExecuteJobFile(folder.wpath("job.tmp")); });
    ASSERT_TRUE(unopened);
    EXPECT_EQ(unopened->description(), L"No translation memory is open");

    auto expectOpen = [&](bool open) {
        EXPECT_EQ(app.get_CurrentTM(), tm);
        EXPECT_EQ(tm->get_IsOpen(), open);
    };
    tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"w");
    expectOpen(true);
    tm->Close();
    expectOpen(false);
    tm->Open(folder.wpath("memory.tmx"), L"anna", L"", L"r");
    expectOpen(true);
    app.Quit();
    expectOpen(false);
}

TEST(EngineObjectServices, LookUpFindsTheApplicationCreateMadeUntilItQuitsOrIsReleased) {
    EngineObjectServices services;
    auto first = services.CreateTessera();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(services.LookUpTessera(), first);

    auto second = services.CreateTessera();
    EXPECT_EQ(services.LookUpTessera(), second);
    first->Quit();
    EXPECT_EQ(services.LookUpTessera(), second) << "only the running one's quit ends it";
    second->Quit();
    EXPECT_EQ(services.LookUpTessera(), nullptr);

    auto third = services.CreateTessera();
    third.reset();
    EXPECT_EQ(services.LookUpTessera(), nullptr) << "the look-up keeps nothing alive";
    EXPECT_EQ(services.CreateWord(), nullptr);
    EXPECT_EQ(services.LookUpWord(), nullptr);
    EXPECT_NE(dynamic_cast<EngineObjectServices*>(DefaultObjectServices().get()), nullptr)
        << "the engine is the default Tessera on POSIX";
}

}  // namespace
}  // namespace orv::engine::test
