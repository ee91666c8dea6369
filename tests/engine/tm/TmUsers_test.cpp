// Protected TMs: who opens them and what a refusal says, how passwords are kept, the
// management of the user list, and the user entries of a TMX file.

#include "engine/tm/TmUsers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/model/EngineError.h"
#include "engine/tm/TmxReader.h"
#include "engine/tm/Utf8.h"
#include "tm/UsersTesting.h"

namespace orv::engine::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

TEST(TmUsers, OnlyListedUsersWithTheirOwnPasswordOpenAProtectedTm) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    AddTmUser(path, L"anna", L"sesame");
    AddTmUser(path, L"Bo\u00DFe", L"\u00F6ffne dich");
    const struct {
        const wchar_t* user;
        const wchar_t* password;
        int32_t refusal;  // 0: the TM opens
    } cases[] = {
        {L"anna", L"sesame", 0},
        {L"ANNA", L"sesame", 0},
        {L"bo\u00DFe", L"\u00F6ffne dich", 0},
        {L"anna", L"Sesame", kWrongTmPassword},
        {L"anna", L"", kWrongTmPassword},
        {L"Bo\u00DFe", L"sesame", kWrongTmPassword},
        {L"carl", L"sesame", kUnknownTmUser},
        {L"", L"", kUnknownTmUser},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.refusal << ' ' << ToUtf8(c.user));
        EngineApplication app;
        const auto error = OpenFails(app, path, c.user, c.password, L"w");
        EXPECT_EQ(app.get_CurrentTM()->get_IsOpen(), c.refusal == 0);
        if (c.refusal == 0) {
            EXPECT_FALSE(error) << ToUtf8(error->description());
            continue;
        }
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), c.refusal);
        EXPECT_THAT(error->description(), StartsWith(L"Error " + std::to_wstring(c.refusal)));
        EXPECT_EQ(Occurrences(error->description(), L"50000") +
                      Occurrences(error->description(), L"50003"),
                  1u);
    }
}

TEST(TmUsers, RefusalsCarryTheirOwnCodeOnlyWhateverTheNameAndPath) {
    TempFolder folder;
    std::filesystem::create_directory(folder.path() / "x50003");
    const std::wstring path = WriteSmallTm(folder, "x50003/tm50000.tmx");
    AddTmUser(path, L"u50000", L"sesame");
    const struct {
        const wchar_t* user;
        int32_t refusal;
    } cases[] = {{L"u50003", kUnknownTmUser}, {L"u50000", kWrongTmPassword}};
    for (const auto& c : cases) {
        EngineApplication app;
        const auto error = OpenFails(app, path, c.user, L"wrong");
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), c.refusal);
        const std::wstring code = std::to_wstring(c.refusal);
        EXPECT_EQ(Occurrences(error->description(), code), 1u) << ToUtf8(error->description());
        EXPECT_EQ(Occurrences(error->description(), L"50000") +
                      Occurrences(error->description(), L"50003"),
                  1u);
        EXPECT_THAT(error->description(), HasSubstr(L"tm5000\u20600.tmx"));
    }
}

TEST(TmUsers, PasswordsAreKeptOnlyAsSaltedArgon2idHashes) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    AddTmUser(path, L"anna", L"correct horse");
    AddTmUser(path, L"ben", L"correct horse");

    const std::string text = ReadBytes(folder.path() / "tm.tmx");
    EXPECT_THAT(text, Not(HasSubstr("correct")));
    const TranslationMemory tm = ReadTmxFile(path);
    ASSERT_EQ(tm.users.size(), 2u);
    EXPECT_THAT(tm.users[0].passwordHash, StartsWith("$argon2id$"));
    EXPECT_THAT(tm.users[1].passwordHash, StartsWith("$argon2id$"));
    EXPECT_NE(tm.users[0].passwordHash, tm.users[1].passwordHash);
    EXPECT_TRUE(TmPasswordMatches(tm.users[1].passwordHash, L"correct horse"));
}

TEST(TmUsers, AddingAUserAgainInAnyCaseReplacesThePasswordAndRemovingTheLastOpensTheTm) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    EngineApplication app;
    EXPECT_FALSE(OpenFails(app, path, L"", L"")) << "a TM without users opens for anyone";
    app.get_CurrentTM()->Close();
    EXPECT_THAT(TmUserNames(path), IsEmpty());

    AddTmUser(path, L"anna", L"old");
    AddTmUser(path, L"ANNA", L"new");
    EXPECT_THAT(TmUserNames(path), ElementsAre(L"anna"));
    EXPECT_EQ(OpenFails(app, path, L"anna", L"old")->number(), kWrongTmPassword);
    EXPECT_FALSE(OpenFails(app, path, L"anna", L"new"));
    app.get_CurrentTM()->Close();

    EXPECT_FALSE(RemoveTmUser(path, L"ben"));
    EXPECT_TRUE(RemoveTmUser(path, L"Anna"));
    EXPECT_THAT(TmUserNames(path), IsEmpty());
    EXPECT_FALSE(OpenFails(app, path, L"whoever", L""));
    EXPECT_EQ(ReadTmxFile(path).units.size(), 1u);
}

TEST(TmUsers, NamesThatCannotBeStoredAreRefusedAndTheTmIsLeftAsItWas) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    const std::string before = ReadBytes(folder.path() / "tm.tmx");
    for (const std::wstring& name :
         {std::wstring(), std::wstring(L"a:b"), std::wstring(L"a\nb"), std::wstring(L"a\u0085b"),
          std::wstring(L" anna"), std::wstring(L"anna "), std::wstring(257, L'x')}) {
        SCOPED_TRACE(ToUtf8(name));
        const auto error = RaisedBy([&] { AddTmUser(path, name, L"pw"); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(L"a user name cannot"));
    }
    EXPECT_EQ(ReadBytes(folder.path() / "tm.tmx"), before);
}

TEST(TmUsers, UsersRoundTripThroughTheWriterAndARewriteKeepsTheFilesPermissions) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    std::filesystem::permissions(folder.path() / "tm.tmx", std::filesystem::perms::owner_read |
                                                               std::filesystem::perms::owner_write);
    AddTmUser(path, L"Zo\u00EB <&> \"Ann\"", L"pw");
    EXPECT_EQ(std::filesystem::status(folder.path() / "tm.tmx").permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    const TranslationMemory read = ReadTmxFile(path);
    ASSERT_EQ(read.users.size(), 1u);
    EXPECT_EQ(read.users[0].name, L"Zo\u00EB <&> \"Ann\"");
    EXPECT_EQ(read.units.size(), 1u);
    WriteTmxFile(read, folder.wpath("copy.tmx"));
    const TranslationMemory copy = ReadTmxFile(folder.wpath("copy.tmx"));
    ASSERT_EQ(copy.users.size(), 1u);
    EXPECT_EQ(copy.users[0].name, read.users[0].name);
    EXPECT_EQ(copy.users[0].passwordHash, read.users[0].passwordHash);
}

TEST(TmUsers, DamagedUserEntriesMakeTheTmUnreadableRatherThanOpenToAll) {
    const struct {
        const char* props;
        const wchar_t* why;
    } cases[] = {
        {"<prop type=\"x-orv-user\">anna</prop>", L"line 3: the user entry \"anna\" has no"},
        {"<prop type=\"x-orv-user\">anna:</prop>", L"has no password hash"},
        {"<prop type=\"x-orv-user\">:$argon2id$x</prop>", L"a user name cannot be empty"},
        {"<prop type=\"x-orv-user\">anna:a</prop>\n<prop type=\"x-orv-user\">ANNA:b</prop>",
         L"line 4: the user \"ANNA\" is listed more than once"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.props);
        const std::string tmx = std::string("<tmx version=\"1.4\">\n<header srclang=\"en-US\">\n") +
                                c.props + "\n</header><body/></tmx>";
        const auto error = RaisedBy([&] { ReadTmxBytes(tmx, L"t.tmx"); });
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(c.why));
    }
}

TEST(TmUsers, AHashThatCannotBeCheckedIsReportedAsDamagedNotAsAWrongPassword) {
    TempFolder folder;
    for (const char* hash :
         {"sesame", "$argon2id$v=19$m=4194304,t=2,p=1$c2FsdHNhbHRzYWx0$aGFzaGhhc2hoYXNo"}) {
        SCOPED_TRACE(hash);
        folder.Write("tm.tmx", std::string("<tmx version=\"1.4\"><header srclang=\"en-US\">"
                                           "<prop type=\"x-orv-user\">anna:") +
                                   hash + "</prop></header><body/></tmx>");
        EngineApplication app;
        const auto error = OpenFails(app, folder.wpath("tm.tmx"), L"anna", L"sesame");
        ASSERT_TRUE(error);
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(L"damaged"));
    }
}

}  // namespace
}  // namespace orv::engine::test
