// ReadTmxHeader: what the header says, as ReadTmxFile reads it, with the body left unread.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/tm/TmxReader.h"
#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

const std::string kUnit =
    "<tu><tuv xml:lang=\"en-US\"><seg>a</seg></tuv><tuv xml:lang=\"de-DE\"><seg>b</seg></tuv>"
    "</tu>\n";

std::string Tmx(const std::string& header, const std::string& body = kUnit + "</body>\n</tmx>\n") {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n" + header +
           "\n<body>\n" + body;
}

std::wstring ErrorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const AutomationError& error) {
        return error.description();
    }
    return L"(no error)";
}

TEST(TmxHeader, GivesTheLanguagesAsWrittenAndTheUsersReadTmxFileGives) {
    struct Case {
        std::string header;
        std::wstring source;
        std::vector<std::wstring> targets;
    };
    const std::string users =
        "<prop type=\"x-orv-user\"> Ann:$argon2id$v=19$a </prop>"
        "<prop type=\"x-orv-user\">bob:h&amp;2</prop>";
    const Case cases[] = {
        {"<header srclang=\"en-US\">" + users + "</header>", L"en-US", {}},
        // Each language once, in its first spelling; the source is not taken out.
        {"<header srclang=\" *ALL* \"><prop type=\"x-targetlang\">fr-FR</prop>" + users +
             "<prop type=\"x-targetlang\"> de_de </prop><prop type=\"x-targetlang\">FR-fr</prop>"
             "<prop type=\"x-targetlang\">en-US</prop><prop type=\"x-other\">it-IT</prop>"
             "<note><prop type=\"x-targetlang\">es-ES</prop></note></header>",
         L"*ALL*",
         {L"fr-FR", L"de_de", L"en-US"}},
        {"<header><prop type=\"x-targetlang\">de-DE</prop>" + users + "</header>", L"", {L"de-DE"}},
        // Without a header, nothing: a header after the body is not the TM's.
        {"", L"", {}},
    };
    test::TempFolder folder;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.header);
        const std::wstring path = folder.Write("tm.tmx", Tmx(c.header)).wstring();
        const TmxHeader header = ReadTmxHeader(path);
        EXPECT_EQ(header.sourceLanguage, c.source);
        EXPECT_EQ(header.targetLanguages, c.targets);
        const TranslationMemory tm = ReadTmxFile(path);
        ASSERT_EQ(header.users.size(), tm.users.size());
        for (std::size_t i = 0; i < tm.users.size(); ++i) {
            EXPECT_EQ(header.users[i].name, tm.users[i].name);
            EXPECT_EQ(header.users[i].passwordHash, tm.users[i].passwordHash);
        }
    }
    const std::wstring late =
        folder.Write("late.tmx", Tmx("", "</body><header srclang=\"fr-FR\"/></tmx>")).wstring();
    EXPECT_EQ(ReadTmxHeader(late).sourceLanguage, L"");
}

TEST(TmxHeader, StopsAtTheBodyButFailsLikeReadTmxFileUpToIt) {
    const std::string good =
        "<header srclang=\"en-US\"><prop type=\"x-orv-user\">ann:h</prop>"
        "</header>";
    const std::pair<std::string, std::wstring> cases[] = {
        // A fault in the body is never reached.
        {Tmx(good, kUnit + "<tu><tuv xml:lang=\"en-US\"><seg>a</tuv>\n&nbsp; \xFF <"), L""},
        {Tmx(good, "<tu><tuv><seg>no language</seg></tuv></tu></body></tmx>"), L""},
        {Tmx(good, ""), L""},
        // Up to the body, the faults of ReadTmxFile.
        {Tmx("<header srclang=\"en-US\"><prop type=\"x-orv-user\">ann:h</header>"),
         L"line 3: Opening and ending tag mismatch"},
        {Tmx("<header><prop type=\"x-orv-user\">ann</prop></header>"),
         L"line 3: the user entry \"ann\" has no password hash"},
        {Tmx("<header>&nbsp;</header>"), L"line 3: Entity 'nbsp' not defined"},
        {"<?xml version=\"1.0\"?>\n<html><body/></html>", L"line 2: the root element is <html>"},
        {"", L"the file is empty"},
    };
    test::TempFolder folder;
    testing::internal::CaptureStderr();
    for (const auto& [bytes, expected] : cases) {
        SCOPED_TRACE(bytes);
        const std::wstring path = folder.Write("tm.tmx", bytes).wstring();
        const std::wstring error = ErrorOf([&] { ReadTmxHeader(path); });
        if (expected.empty()) {
            EXPECT_EQ(error, L"(no error)");
            EXPECT_EQ(ReadTmxHeader(path).users.at(0).name, L"ann");
        } else {
            EXPECT_NE(error.find(L"Cannot read TM " + path + L": " + expected), std::wstring::npos)
                << testing::PrintToString(error);
            EXPECT_EQ(error, ErrorOf([&] { ReadTmxFile(path); }));
        }
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(ErrorOf([&] { ReadTmxHeader(folder.wpath("none.tmx")); }).find(L"does not exist"),
              std::wstring::npos);
}

}  // namespace
}  // namespace orv::engine
