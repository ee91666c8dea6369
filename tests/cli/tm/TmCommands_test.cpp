#include "cli/tm/TmCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

#include "cli/tm/UsageError.h"
#include "engine/tm/TmUsers.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/TmxWriter.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::cli {
namespace {

using orv::test::ReadBytes;
using orv::test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

// A TM whose users carry a stand-in hash, so that a test needs no slow hashing of its own.
std::filesystem::path WriteTm(const TempFolder& folder, std::vector<std::wstring> users,
                              int units = 0) {
    engine::TranslationMemory tm{L"en-US", {L"de-DE"}, {}};
    for (int i = 0; i < units; ++i)
        tm.units.push_back({{L"Unit " + std::to_wstring(i), {}}, {{L"de-DE", {L"Einheit", {}}}}});
    for (std::wstring& user : users) tm.users.push_back({std::move(user), "$argon2id$stand-in"});
    engine::WriteTmxFile(tm, folder.wpath("tm.tmx"));
    return folder.path() / "tm.tmx";
}

std::string Info(const std::filesystem::path& tm) {
    std::ostringstream out;
    TmInfo(tm, out);
    return out.str();
}

template <class Command>
std::string UsageFault(Command&& command) {
    try {
        command();
    } catch (const UsageError& error) {
        return error.what();
    }
    ADD_FAILURE() << "no UsageError";
    return {};
}

TEST(TmCommands, ACreatedTmTakesAUserShowsItAndOpensToAnyoneWhenItIsRemoved) {
    TempFolder folder;
    const std::filesystem::path tm = folder.path() / "new.tmx";

    CreateTm(tm, 1031, 2057);
    const std::string empty = Info(tm);
    EXPECT_THAT(empty, HasSubstr("TM: " + tm.string() + "\nUnits: 0\n"));
    EXPECT_THAT(empty, HasSubstr("\nSource language: de-DE (1031)\n"));
    EXPECT_THAT(empty, HasSubstr("\nTarget languages: en-GB (2057)\n"));
    EXPECT_THAT(empty, HasSubstr("\nUsers: none (anyone may open the TM)\n"));
    EXPECT_THAT(empty, HasSubstr("\nFile size: " + std::to_string(std::filesystem::file_size(tm)) +
                                 " bytes\n"));

    EXPECT_EQ(AddUser(tm, "anna", L"sesame"), AddedUser::New);
    EXPECT_THAT(Info(tm), HasSubstr("\nUsers: 1\n  anna\n"));
    // The engine lets the new user in with the password given.
    EXPECT_NO_THROW(
        engine::CheckTmUser(engine::ReadTmxFile(tm.wstring()), tm.wstring(), L"anna", L"sesame"));

    EXPECT_EQ(RemoveUser(tm, "ANNA"), 0u);
    EXPECT_THAT(Info(tm), HasSubstr("\nUsers: none (anyone may open the TM)\n"));
}

TEST(TmCommands, AddAndRemoveSayWhatChangedForTheUsersAlreadyThere) {
    TempFolder folder;
    const auto tm = WriteTm(folder, {L"anna", L"bob"});
    EXPECT_EQ(AddUser(tm, "BOB", L"new"), AddedUser::PasswordChanged);
    EXPECT_EQ(RemoveUser(tm, "anna"), 1u);  // one left: still protected
    EXPECT_THAT(engine::TmUserNames(tm.wstring()), ElementsAre(L"bob"));
}

TEST(TmCommands, CreateNeverReplacesAnythingAlreadyThere) {
    TempFolder folder;
    const auto file = folder.Write("keep.tmx", "precious");
    EXPECT_THAT(UsageFault([&] { CreateTm(file, 1031, 2057); }),
                HasSubstr(file.string() + " already exists"));
    EXPECT_EQ(ReadBytes(file), "precious");

    std::filesystem::create_directory(folder.path() / "sub");
    EXPECT_THAT(UsageFault([&] { CreateTm(folder.path() / "sub", 7, 9); }),
                HasSubstr("already exists"));
    EXPECT_TRUE(std::filesystem::is_directory(folder.path() / "sub"));
}

TEST(TmCommands, CreateRefusesBadInputAndLeavesNoFileBehind) {
    TempFolder folder;
    const auto tm = folder.path() / "new.tmx";
    const struct {
        std::filesystem::path path;
        int32_t source;
        int32_t target;
        std::string message;
    } cases[] = {
        {tm, 4096, 2057, "unknown source language id 4096"},
        {tm, 1031, 0, "unknown target language id 0"},
        {tm, 1034, 3082, "the source and the target language are both es-ES (1034)"},
        {folder.path() / "missing" / "new.tmx", 1031, 2057,
         "the folder " + (folder.path() / "missing").string() + " does not exist"},
        {folder.path() / "", 1031, 2057, "it names no file"},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(UsageFault([&] { CreateTm(c.path, c.source, c.target); }),
                    HasSubstr(c.message));
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

TEST(TmCommands, RemovingAnAbsentUserNamesTheTmAndItsUsersAndChangesNothing) {
    TempFolder folder;
    const auto tm = WriteTm(folder, {L"anna", L"bob"});
    const std::string before = ReadBytes(tm);
    EXPECT_EQ(UsageFault([&] { RemoveUser(tm, "anne"); }),
              "no user \"anne\" in " + tm.string() + "; its users are \"anna\", \"bob\"");
    EXPECT_EQ(ReadBytes(tm), before);

    const auto open = WriteTm(folder, {});
    EXPECT_EQ(UsageFault([&] { RemoveUser(open, "anna"); }),
              "no user \"anna\" in " + open.string() + "; the TM has no users");
}

TEST(TmCommands, AUserNameTheEngineWouldRefuseIsAUsageErrorBeforeTheTmIsTouched) {
    TempFolder folder;
    const auto tm = WriteTm(folder, {L"anna"});
    const std::string before = ReadBytes(tm);
    const struct {
        const char* user;
        const char* message;
    } cases[] = {
        {"", "cannot add the user \"\": a user name cannot be empty"},
        {"a:b", "a user name cannot contain a colon"},
        {" anna", "a user name cannot begin or end with a space"},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(UsageFault([&] { AddUser(tm, c.user, L"pw"); }), HasSubstr(c.message));
        EXPECT_THAT(UsageFault([&] { RemoveUser(tm, c.user); }),
                    HasSubstr("cannot remove the user"));
    }
    EXPECT_EQ(ReadBytes(tm), before);
}

TEST(TmCommands, AUserNameThatIsNoTextIsRefusedRatherThanTurnedIntoAnotherName) {
    if (NarrowEncodingName() != "UTF-8") GTEST_SKIP() << "needs a UTF-8 locale";
    TempFolder folder;
    const auto tm = WriteTm(folder, {});
    EXPECT_THAT(UsageFault([&] { AddUser(tm, "ann\xff", L"pw"); }),
                HasSubstr("it is not valid UTF-8 text"));
    EXPECT_TRUE(engine::TmUserNames(tm.wstring()).empty());
}

TEST(TmCommands, AMissingOrDamagedTmIsTheEnginesErrorNamingTheFile) {
    TempFolder folder;
    const auto missing = folder.path() / "missing.tmx";
    const auto damaged = folder.Write("damaged.tmx", "<tmx version=\"1.4\"><header");
    for (const auto& path : {missing, damaged}) {
        const std::function<void()> commands[] = {
            [&] { Info(path); },
            [&] { AddUser(path, "anna", L"pw"); },
            [&] { RemoveUser(path, "anna"); },
        };
        for (const auto& command : commands) {
            try {
                command();
                ADD_FAILURE() << path;
            } catch (const AutomationError& error) {
                EXPECT_THAT(error.description(), HasSubstr(path.wstring()));
            }
        }
    }
    EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(TmCommands, InfoGroupsThousandsAndKeepsControlCharactersFromTheTerminal) {
    TempFolder folder;
    const auto tm = WriteTm(folder, {L"eve", L"bob"}, 1234);
    // A crafted file may name a language with characters a terminal takes as commands.
    const auto crafted = folder.Write(
        "crafted.tmx",
        "<tmx version=\"1.4\"><header srclang=\"en\u009b31m\" segtype=\"sentence\" "
        "datatype=\"plaintext\" adminlang=\"en\" creationtool=\"t\" creationtoolversion=\"1\" "
        "o-tmf=\"t\"/><body/></tmx>");
    EXPECT_THAT(Info(crafted), HasSubstr("\nSource language: en?31m\n"));

    const std::string info = Info(tm);
    EXPECT_THAT(info, HasSubstr("\nUnits: 1,234\n"));
    EXPECT_THAT(info, HasSubstr("\nSource language: en-US (1033)\n"));
    EXPECT_THAT(info, HasSubstr("\nUsers: 2\n  eve\n  bob\n"));
    EXPECT_THAT(
        info,
        HasSubstr("\nFile size: " + std::to_string(std::filesystem::file_size(tm) / 1000) + ","));
}

}  // namespace
}  // namespace orv::cli
