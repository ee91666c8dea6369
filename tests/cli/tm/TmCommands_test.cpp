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

namespace fs = std::filesystem;
using orv::test::ReadBytes;
using orv::test::TempFolder;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::Property;
using ::testing::Throws;
using ::testing::ThrowsMessage;

// A TM whose users carry a stand-in hash, so that a test needs no slow hashing of its own.
fs::path WriteTm(const TempFolder& folder, std::vector<std::wstring> users, int units = 0) {
    engine::TranslationMemory tm{L"en-US", {L"de-DE"}, {}};
    for (int i = 0; i < units; ++i)
        tm.units.push_back({{L"Unit " + std::to_wstring(i), {}}, {{L"de-DE", {L"Einheit", {}}}}});
    for (std::wstring& user : users) tm.users.push_back({std::move(user), "$argon2id$stand-in"});
    engine::WriteTmxFile(tm, folder.wpath("tm.tmx"));
    return folder.path() / "tm.tmx";
}

std::string Info(const fs::path& tm) {
    std::ostringstream out;
    TmInfo(tm, out);
    return out.str();
}

TEST(TmCommands, ACreatedTmTakesAUserShowsItAndOpensToAnyoneWhenItIsRemoved) {
    TempFolder folder;
    const fs::path tm = folder.path() / "new.tmx";

    CreateTm(tm, 1031, 2057);
    EXPECT_EQ(Info(tm), "TM: " + tm.string() +
                            "\nUnits: 0\nSource language: de-DE (1031)\n"
                            "Target languages: en-GB (2057)\nUsers: none (anyone may open the TM)\n"
                            "File size: " +
                            std::to_string(fs::file_size(tm)) + " bytes\n");

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

TEST(TmCommands, CreateRefusesBadInputAndNeverReplacesOrLeavesAFile) {
    TempFolder folder;
    const auto tm = folder.path() / "new.tmx";
    const auto kept = folder.Write("keep.tmx", "precious");
    const auto sub = folder.path() / "sub";
    fs::create_directory(sub);
    const struct {
        fs::path path;
        int32_t source;
        int32_t target;
        std::string message;
    } cases[] = {
        {kept, 1031, 2057, kept.string() + " already exists"},
        {sub, 7, 9, sub.string() + " already exists"},
        {tm, 4096, 2057, "unknown source language id 4096"},
        {tm, 1031, 0, "unknown target language id 0"},
        {tm, 1034, 3082, "the source and the target language are both es-ES (1034)"},
        {folder.path() / "missing" / "new.tmx", 1031, 2057,
         "the folder " + (folder.path() / "missing").string() + " does not exist"},
        {folder.path() / "", 1031, 2057, "it names no file"},
    };
    for (const auto& c : cases) {
        EXPECT_THAT([&] { CreateTm(c.path, c.source, c.target); },
                    ThrowsMessage<UsageError>(HasSubstr(c.message)));
    }
    EXPECT_EQ(ReadBytes(kept), "precious");
    EXPECT_TRUE(fs::is_empty(sub));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), {}), 2);
}

TEST(TmCommands, RemovingAnAbsentUserNamesTheTmAndItsUsersAndChangesNothing) {
    TempFolder folder;
    const auto tm = WriteTm(folder, {L"anna", L"bob"});
    const std::string before = ReadBytes(tm);
    EXPECT_THAT([&] { RemoveUser(tm, "anne"); },
                ThrowsMessage<UsageError>("no user \"anne\" in " + tm.string() +
                                          "; its users are \"anna\", \"bob\""));
    EXPECT_EQ(ReadBytes(tm), before);

    const auto open = WriteTm(folder, {});
    EXPECT_THAT([&] { RemoveUser(open, "anna"); },
                ThrowsMessage<UsageError>("no user \"anna\" in " + open.string() +
                                          "; the TM has no users"));
}

TEST(TmCommands, AUserNameTheEngineWouldRefuseOrThatIsNoTextIsAUsageErrorBeforeTheTmIsTouched) {
    TempFolder folder;
    const auto tm = WriteTm(folder, {L"anna"});
    const std::string before = ReadBytes(tm);
    std::vector<std::pair<std::string, std::string>> cases = {
        {"", "cannot add the user \"\": a user name cannot be empty"},
        {"a:b", "a user name cannot contain a colon"},
        {" anna", "a user name cannot begin or end with a space"},
    };
    // Refused rather than turned into another name.
    if (NarrowEncodingName() == "UTF-8") cases.push_back({"ann\xff", "it is not valid UTF-8 text"});
    for (const auto& [user, message] : cases) {
        EXPECT_THAT([&] { AddUser(tm, user, L"pw"); },
                    ThrowsMessage<UsageError>(HasSubstr(message)));
        EXPECT_THAT([&] { RemoveUser(tm, user); },
                    ThrowsMessage<UsageError>(HasSubstr("cannot remove the user")));
    }
    EXPECT_EQ(ReadBytes(tm), before);
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
            EXPECT_THAT(command, Throws<AutomationError>(Property(&AutomationError::description,
                                                                  HasSubstr(path.wstring()))));
        }
    }
    EXPECT_FALSE(fs::exists(missing));
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

    EXPECT_THAT(Info(tm), HasSubstr("\nUnits: 1,234\nSource language: en-US (1033)\n"
                                    "Target languages: de-DE (1031)\nUsers: 2\n  eve\n  bob\n"
                                    "File size: " +
                                    std::to_string(fs::file_size(tm) / 1000) + ","));
}

}  // namespace
}  // namespace orv::cli
