// The cache of TM indexes between runs, through the engine as orvbatch drives it: each run a
// new application, as each orvbatch run is a new process. Whatever the cache holds, a run
// gives what a run without it gives for the TM as it is now.

#include <gtest/gtest.h>
#ifndef _WIN32
#include <unistd.h>
#endif

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "app/JobTesting.h"
#include "engine/cache/TmCache.h"
#include "engine/system/CacheFolder.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxReader.h"
#include "platform/NarrowText.h"

namespace orv::engine::test {
namespace {

constexpr int32_t kGerman = 1031, kFrench = 1036;

std::set<std::string> WithSuffix(const fs::path& folder, const std::string& suffix) {
    std::set<std::string> names;
    for (const std::string& name : Listing(folder))
        if (name.size() >= suffix.size() && name.ends_with(suffix)) names.insert(name);
    return names;
}

class IndexCache : public ::testing::Test {
protected:
    IndexCache() { CopyGolden(folder); }

    fs::path Tm() const { return folder.path() / "memory.tmx"; }
    fs::path Cache() const { return folder.path() / "cache"; }

    // The CSV log of the golden documents analysed by a new engine, with the cache in `cache`
    // (empty: none); `tasks` after the analysis.
    std::string Run(const fs::path& cache, int32_t target = kGerman,
                    const std::vector<std::string>& tasks = {}, const std::wstring& user = L"",
                    const std::wstring& password = L"") {
        EngineApplication app;
        app.control()->SetExtras({"", L"", cache.wstring()});
        const auto tm = app.get_CurrentTM();
        tm->Open(Tm().wstring(), user, password, L"r");
        tm->put_TargetLanguage(target);
        const std::string run = "run" + std::to_string(++runs_);
        const fs::path log = folder.path() / (run + ".log");
        const fs::path job =
            folder.Write(run + ".job", JobText({In("alpha.txt"), In("beta.txt")}, log, tasks));
        tm->ExecuteJobFile(job.wstring());
        fs::path csv = log;
        return ReadBytes(csv.replace_extension(".csv"));
    }

    fs::path In(const std::string& name) const { return folder.path() / name; }

    std::wstring IndexFile(const std::wstring& target = L"de-DE") const {
        const auto state = StateOfTmFile(Tm().wstring());
        return TmCache(Cache().wstring()).IndexFile(*state, target, {});
    }
    bool CacheHasIndex(const std::wstring& target = L"de-DE") const {
        const auto state = StateOfTmFile(Tm().wstring());
        return state && TmCache(Cache().wstring()).FindIndex(*state, target, {}).has_value();
    }

    TempFolder folder;
    std::atomic<int> runs_ = 0;
};

TEST_F(IndexCache, AColdAndAWarmRunGiveWhatARunWithoutTheCacheGives) {
    const std::string without = Run({});
    EXPECT_FALSE(fs::exists(Cache()));
    EXPECT_EQ(Run(Cache()), without);
    EXPECT_EQ(WithSuffix(Cache(), ".index").size(), 1u);
    EXPECT_EQ(WithSuffix(Cache(), ".languages").size(), 1u);
    EXPECT_TRUE(CacheHasIndex());
    EXPECT_EQ(Run(Cache()), without);
    EXPECT_EQ(Listing(Cache()).size(), 2u) << "a warm run writes nothing";
}

// Each way the cache can fall out of step with the TM or be damaged, after a first run has
// filled it: the next run must give the results of the TM as it is then, and leave a sound
// index behind.
TEST_F(IndexCache, WhatNoLongerFitsTheTmIsMadeAgainNeverTrusted) {
    // "ready to use." becomes "ready to run.": the same size, and the time is set back.
    const auto rewrite = [](const fs::path& tm, bool inPlace) {
        std::string text = ReadBytes(tm);
        const auto at = text.find("ready to use.");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 13, "ready to run.");
        const auto time = fs::last_write_time(tm);
        const fs::path written = inPlace ? tm : fs::path(tm).concat(".new");
        std::ofstream(written, std::ios::binary | std::ios::trunc) << text;
        if (!inPlace) fs::rename(written, tm);
        fs::last_write_time(tm, time);
    };
    const auto cut = [](const std::wstring& file, bool truncate) {
        const auto size = fs::file_size(file);
        if (truncate) return fs::resize_file(file, size / 2);
        std::fstream bytes(fs::path(file), std::ios::in | std::ios::out | std::ios::binary);
        bytes.seekp(static_cast<std::streamoff>(size * 2 / 3));
        bytes.put('\x5a');
    };
    struct Case {
        const char* name;
        std::function<void()> change;
        bool tmChanged;
    };
    const Case cases[] = {
        {"TM rewritten in place, same size and time", [&] { rewrite(Tm(), true); }, true},
        {"TM replaced, same size and time", [&] { rewrite(Tm(), false); }, true},
        {"index cut short", [&] { cut(IndexFile(), true); }, false},
        {"index damaged inside", [&] { cut(IndexFile(), false); }, false},
        {"index emptied", [&] { fs::resize_file(IndexFile(), 0); }, false},
        {"languages damaged",
         [&] {
             for (const std::string& name : WithSuffix(Cache(), ".languages"))
                 fs::resize_file(Cache() / name, 10);
         },
         false},
    };
    const std::string original = Run({});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Cache());
        fs::copy_file(fs::path(ORV_GOLDEN_DIR) / "memory.tmx", Tm(),
                      fs::copy_options::overwrite_existing);
        ASSERT_EQ(Run(Cache()), original);
        c.change();
        const std::string expected = c.tmChanged ? Run({}) : original;
        if (c.tmChanged) {
            EXPECT_NE(expected, original) << "the change must show in the results";
        }
        EXPECT_EQ(Run(Cache()), expected);
        EXPECT_TRUE(CacheHasIndex());
        EXPECT_EQ(Run(Cache()), expected);
        EXPECT_EQ(Listing(Cache()).size(), 2u) << "one file replaces the other, nothing left";
    }
}

TEST_F(IndexCache, EachTargetLanguageHasAnIndexOfItsOwn) {
    const std::string german = Run({}), french = Run({}, kFrench);
    ASSERT_NE(german, french);
    EXPECT_EQ(Run(Cache()), german);
    EXPECT_EQ(Run(Cache(), kFrench), french);
    EXPECT_EQ(Run(Cache()), german);
    EXPECT_EQ(Run(Cache(), kFrench), french);
    EXPECT_TRUE(CacheHasIndex(L"de-DE"));
    EXPECT_TRUE(CacheHasIndex(L"fr-FR"));
}

// Two runs that find no index build it at once and both write it: one file wins whole, and
// neither run reads the other's half-written one.
TEST_F(IndexCache, TwoRunsBuildingOneIndexAtOnceLeaveOneWholeFile) {
    const std::string expected = Run({});
    for (int round = 0; round < 5; ++round) {
        fs::remove_all(Cache());
        std::string first, second;
        std::thread other([&] { second = Run(Cache()); });
        first = Run(Cache());
        other.join();
        EXPECT_EQ(first, expected);
        EXPECT_EQ(second, expected);
        EXPECT_TRUE(CacheHasIndex());
        EXPECT_EQ(Listing(Cache()).size(), 2u) << "no temporary file left";
    }
}

TEST_F(IndexCache, ACacheThatCannotBeWrittenIsARunWithoutIt) {
    const std::string expected = Run({});
    folder.Write("a file", "not a folder");
    EXPECT_EQ(Run(folder.path() / "a file"), expected);
    EXPECT_EQ(Run(folder.path() / "a file" / "cache"), expected);
#ifndef _WIN32
    if (geteuid() != 0) {  // the superuser writes into a read-only folder too
        fs::create_directory(Cache());
        fs::permissions(Cache(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(Run(Cache()), expected);
        EXPECT_TRUE(Listing(Cache()).empty());
        fs::permissions(Cache(), fs::perms::owner_all);
    }
#endif
}

// A protected TM's cached index is no way around its password, holds nothing of its users,
// and is for its owner's eyes only.
TEST_F(IndexCache, AProtectedTmLetsInOnlyItsUsersWhateverTheCacheHolds) {
    AddTmUser(Tm().wstring(), L"anna", L"secret");
    const std::string expected = Run({}, kGerman, {}, L"anna", L"secret");
    EXPECT_EQ(Run(Cache(), kGerman, {}, L"anna", L"secret"), expected);
    for (const auto& [user, password, code] :
         {std::tuple{L"anna", L"wrong", kWrongTmPassword}, {L"bert", L"secret", kUnknownTmUser}}) {
        const auto refused = RaisedBy([&] { Run(Cache(), kGerman, {}, user, password); });
        ASSERT_TRUE(refused.has_value());
        EXPECT_EQ(refused->number(), code);
    }
    EXPECT_EQ(Run(Cache(), kGerman, {}, L"anna", L"secret"), expected);
    std::string hash = ReadBytes(Tm());
    hash = hash.substr(hash.find("$argon2id$"), 40);
    for (const std::string& name : Listing(Cache())) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadBytes(Cache() / name).find(hash), std::string::npos);
        EXPECT_EQ(ReadBytes(Cache() / name).find("argon2"), std::string::npos);
#ifndef _WIN32
        EXPECT_EQ(fs::status(Cache() / name).permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write);
#endif
    }
}

// No run holds the units of its TM until a task needs them: the project TM still gets the
// units that matched, from the TM as it was opened.
TEST_F(IndexCache, AWarmRunReadsTheUnitsWhenATaskNeedsThem) {
    const std::string without = Run({}, kGerman, {ProjectTmLines(In("project-cold.tmx"))});
    Run(Cache());
    EXPECT_EQ(Run(Cache(), kGerman, {ProjectTmLines(In("project-warm.tmx"))}), without);
    EXPECT_EQ(ReadTmxFile(In("project-warm.tmx").wstring()).units.size(),
              ReadTmxFile(In("project-cold.tmx").wstring()).units.size());
    EXPECT_EQ(ReadBytes(In("project-warm.tmx")), ReadBytes(In("project-cold.tmx")));
}

// The units are read after the open, for the index of a cold run and for the project TM of a
// warm one: both must come from the TM as it was opened.
TEST_F(IndexCache, UnitsReadAfterTheOpenMustComeFromTheTmAsItWasOpened) {
    struct Case {
        const char* name;
        bool warm;       // the cache holds the TM's index
        bool withCache;  // the run has a cache at all
    };
    const Case cases[] = {
        {"warm: the project TM", true, true},
        {"cold, filling the cache: the index", false, true},
        {"cold, no cache: the index", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(Cache());
        if (c.warm) Run(Cache());
        EngineApplication app;
        app.control()->SetExtras({"", L"", c.withCache ? Cache().wstring() : L""});
        const auto tm = app.get_CurrentTM();
        tm->Open(Tm().wstring(), L"", L"", L"r");
        tm->put_TargetLanguage(kGerman);
        // Replaced behind the engine's back (the lock keeps out only the engine's own writers).
        fs::copy_file(Tm(), In("copy.tmx"));
        std::ofstream(In("copy.tmx"), std::ios::app) << "\n";
        fs::rename(In("copy.tmx"), Tm());
        folder.Write("job.tmp", JobText({In("alpha.txt")}, In("late.log"),
                                        {ProjectTmLines(In("project.tmx"))}));
        const auto refused = RaisedBy([&] { tm->ExecuteJobFile(folder.wpath("job.tmp")); });
        ASSERT_TRUE(refused.has_value());
        EXPECT_NE(refused->description().find(L"has changed since it was opened"),
                  std::wstring::npos)
            << ToNarrow(refused->description());
        EXPECT_FALSE(fs::exists(In("project.tmx")));
        EXPECT_FALSE(fs::exists(In("late.csv")));
    }
}

}  // namespace
}  // namespace orv::engine::test
