// Protected TMs: who opens them and what a refusal says, how passwords are kept, the user
// list's management, and the user entries of a TMX file.

#include "engine/tm/TmUsers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/model/EngineError.h"
#include "engine/text/Utf8.h"
#include "engine/tm/TmxReader.h"
#include "tm/UsersTesting.h"

namespace orv::engine::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;
namespace fs = std::filesystem;

std::size_t PasswordCodes(const std::wstring& text) {
    std::size_t count = 0;
    for (const wchar_t* code : {L"50000", L"50003"}) {
        for (auto at = text.find(code); at != std::wstring::npos; at = text.find(code, at + 1))
            ++count;
    }
    return count;
}

TEST(TmUsers, OnlyListedUsersWithTheirOwnPasswordOpenAProtectedTm) {
    TempFolder folder;
    fs::create_directory(folder.path() / "x50003");
    const std::wstring path = WriteSmallTm(folder, "x50003/tm50000.tmx");
    AddTmUser(path, L"anna", L"sesame");
    AddTmUser(path, L"Bo\u00DFe50000", L"\u00F6ffne dich");
    const struct {
        const wchar_t* user;
        const wchar_t* password;
        int32_t refusal;  // 0: the TM opens
    } cases[] = {
        {L"anna", L"sesame", 0},
        {L"ANNA", L"sesame", 0},
        {L"bo\u00DFe50000", L"\u00F6ffne dich", 0},
        {L"anna", L"Sesame", kWrongTmPassword},
        {L"anna", L"", kWrongTmPassword},
        {L"Bo\u00DFe50000", L"sesame", kWrongTmPassword},
        {L"carl50003", L"sesame", kUnknownTmUser},
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
        // The user's name and the path may hold the digits; only the code itself carries them.
        EXPECT_THAT(error->description(), StartsWith(L"Error " + std::to_wstring(c.refusal)));
        EXPECT_EQ(PasswordCodes(error->description()), 1u) << ToUtf8(error->description());
    }
}

TEST(TmUsers, PasswordsAreKeptAsSaltedArgon2idHashesThatRoundTripWithTheFilesPermissions) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(folder.path() / "tm.tmx", ownerOnly);
    // As the system keeps them: Windows has no mode bits beyond read-only.
    const fs::perms before = fs::status(folder.path() / "tm.tmx").permissions();
    AddTmUser(path, L"Zo\u00EB <&>", L"correct horse");
    AddTmUser(path, L"ben", L"correct horse");

    EXPECT_THAT(ReadBytes(folder.path() / "tm.tmx"), Not(HasSubstr("correct")));
    EXPECT_EQ(fs::status(folder.path() / "tm.tmx").permissions(), before);
    const TranslationMemory tm = ReadTmxFile(path);
    ASSERT_EQ(tm.users.size(), 2u);
    EXPECT_EQ(tm.users[0].name, L"Zo\u00EB <&>");
    EXPECT_THAT(tm.users[0].passwordHash, StartsWith("$argon2id$"));
    EXPECT_NE(tm.users[0].passwordHash, tm.users[1].passwordHash);
    EXPECT_EQ(tm.units.size(), 1u);

    WriteTmxFile(tm, folder.wpath("copy.tmx"));
    const TranslationMemory copy = ReadTmxFile(folder.wpath("copy.tmx"));
    ASSERT_EQ(copy.users.size(), 2u);
    EXPECT_EQ(copy.users[0].name, tm.users[0].name);
    EXPECT_EQ(copy.users[1].passwordHash, tm.users[1].passwordHash);
}

TEST(TmUsers, AddingAUserAgainInAnyCaseReplacesThePasswordAndRemovingTheLastOpensTheTm) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    EngineApplication app;
    EXPECT_FALSE(OpenFails(app, path, L"", L"")) << "a TM without users opens for anyone";
    app.get_CurrentTM()->Close();

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
}

// What another tool wrote into a TMX file, which the engine's model of a TM does not hold.
TEST(TmUsers, ChangingTheUsersKeepsEverythingElseAnotherToolWroteIntoTheFile) {
    TempFolder folder;
    const std::string others =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n"
        "<!DOCTYPE tmx [<!ENTITY brand \"Orv\">]>\n"
        "<tmx version=\"1.4\">\n"
        "  <header srclang=\"en-GB\" creationtool=\"Other\" segtype=\"sentence\" "
        "o-tmf=\"x\" adminlang=\"en\" datatype=\"plaintext\">\n"
        "    <note>Kept for the client \xE4</note>\n"
        "  </header>\n"
        "  <!-- reviewed -->\n"
        "  <body>\n"
        "    <tu tuid=\"7\" changedate=\"20240101T000000Z\">\n"
        "      <prop type=\"x-project\">Alpha &amp; Beta</prop>\n"
        "      <note>Checked by the terminologist</note>\n"
        "      <tuv xml:lang=\"en-GB\"><seg>Open &brand; now.</seg></tuv>\n"
        "      <tuv xml:lang=\"de-DE\"><seg>Jetzt &brand; \xF6"
        "ffnen.</seg></tuv>\n"
        "    </tu>\n"
        "  </body>\n"
        "</tmx>\n";
    const fs::path file = folder.Write("others.tmx", others);
    const std::wstring path = FromUtf8(file.string());

    AddTmUser(path, L"R&D <team>", L"secret");
    const std::string added = ReadBytes(file);
    for (const char* kept :
         {"<!ENTITY brand \"Orv\">", "creationtool=\"Other\"", "Kept for the client \xC3\xA4",
          "<!-- reviewed -->", "tuid=\"7\"", "changedate=\"20240101T000000Z\"",
          "<prop type=\"x-project\">Alpha &amp; Beta</prop>",
          "<note>Checked by the terminologist</note>", "Open &brand; now.",
          "Jetzt &brand; \xC3\xB6"
          "ffnen."})
        EXPECT_THAT(added, HasSubstr(kept));
    EXPECT_THAT(
        added, HasSubstr("</note>\n    <prop type=\"x-orv-user\">R&amp;D &lt;team&gt;:$argon2id$"));
    EXPECT_THAT(TmUserNames(path), ElementsAre(L"R&D <team>"));
    EngineApplication app;
    EXPECT_FALSE(OpenFails(app, path, L"r&d <TEAM>", L"secret"));
    app.get_CurrentTM()->Close();

    EXPECT_TRUE(RemoveTmUser(path, L"R&D <team>"));
    const std::string removed = ReadBytes(file);
    EXPECT_THAT(removed, Not(HasSubstr("x-orv-user")));
    EXPECT_THAT(removed, HasSubstr("<note>Checked by the terminologist</note>"));
    EXPECT_THAT(TmUserNames(path), IsEmpty());
}

TEST(TmUsers, NamesThatCannotBeStoredAreRefusedAndTheTmIsLeftAsItWas) {
    TempFolder folder;
    const std::wstring path = WriteSmallTm(folder);
    const std::string before = ReadBytes(folder.path() / "tm.tmx");
    for (const std::wstring& name :
         {std::wstring(), std::wstring(L"a:b"), std::wstring(L"a\nb"), std::wstring(L"a\u0085b"),
          std::wstring(L" anna"), std::wstring(257, L'x')}) {
        const auto error = RaisedBy([&] { AddTmUser(path, name, L"pw"); });
        ASSERT_TRUE(error) << ToUtf8(name);
        EXPECT_THAT(error->description(), HasSubstr(L"a user name cannot"));
    }
    EXPECT_EQ(ReadBytes(folder.path() / "tm.tmx"), before);
}

TEST(TmUsers, DamagedUserEntriesMakeTheTmUnreadableRatherThanOpenToAll) {
    const struct {
        const char* props;
        const wchar_t* why;
    } cases[] = {
        {"<prop type=\"x-orv-user\">anna</prop>", L"line 2: the user entry \"anna\" has no"},
        {"<prop type=\"x-orv-user\">anna:</prop>", L"has no password hash"},
        {"<prop type=\"x-orv-user\">:$argon2id$x</prop>", L"a user name cannot be empty"},
        {"<prop type=\"x-orv-user\">anna:a</prop>\n<prop type=\"x-orv-user\">ANNA:b</prop>",
         L"line 3: the user \"ANNA\" is listed more than once"},
    };
    for (const auto& c : cases) {
        const std::string tmx = std::string("<tmx version=\"1.4\"><header srclang=\"en-US\">\n") +
                                c.props + "</header><body/></tmx>";
        const auto error = RaisedBy([&] { ReadTmxBytes(tmx, L"t.tmx"); });
        ASSERT_TRUE(error) << c.props;
        EXPECT_THAT(error->description(), HasSubstr(c.why));
    }
}

TEST(TmUsers, AHashThatCannotBeCheckedIsReportedAsDamagedNotAsAWrongPassword) {
    TempFolder folder;
    // Plain text, and a hash that asks for 4 GiB.
    for (const char* hash :
         {"sesame", "$argon2id$v=19$m=4194304,t=2,p=1$c2FsdHNhbHRzYWx0$aGFzaGhhc2hoYXNo"}) {
        folder.Write("tm.tmx", std::string("<tmx version=\"1.4\"><header srclang=\"en-US\">"
                                           "<prop type=\"x-orv-user\">anna:") +
                                   hash + "</prop></header><body/></tmx>");
        EngineApplication app;
        const auto error = OpenFails(app, folder.wpath("tm.tmx"), L"anna", L"sesame");
        ASSERT_TRUE(error) << hash;
        EXPECT_EQ(error->number(), kEngineFailure);
        EXPECT_THAT(error->description(), HasSubstr(L"damaged"));
    }
}

}  // namespace
}  // namespace orv::engine::test
