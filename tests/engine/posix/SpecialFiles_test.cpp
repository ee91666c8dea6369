// What only a POSIX system has to offer the engine's readers: named pipes, devices, files a
// mode bit locks away, and a loopback socket to prove that nothing is fetched from outside.

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <utility>
#include <vector>

#include "engine/model/EngineError.h"
#include "engine/text/PlainTextDocument.h"
#include "engine/tm/TmxReader.h"
#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using Kind = InlineCode::Kind;

void ExpectReadFailure(const std::wstring& path, const std::wstring& reason) {
    try {
        ReadDocumentFileBytes(path);
        ADD_FAILURE() << "no error for " << ToNarrow(path);
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.number(), kEngineFailure);
        EXPECT_EQ(error.description(), reason);
    }
}

std::string Unit(const std::string& source) {
    return "<tu><tuv xml:lang=\"en-US\"><seg>" + source +
           "</seg></tuv><tuv xml:lang=\"de-DE\"><seg>x</seg></tuv></tu>\n";
}

TEST(SpecialFiles, OnlyARegularFileWithinTheLimitIsReadAndNothingElseWaitsOrFills) {
    test::TempFolder folder;
    const auto fifo = folder.path() / "pipe.txt";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);  // no writer: reading it would block
    std::filesystem::create_symlink("/dev/zero", folder.path() / "zero.txt");
    const auto large = folder.Write("large.txt", "");
    std::filesystem::resize_file(large, kMaxDocumentFileBytes + 1);  // sparse: no disk used

    const std::wstring kNotRegular = L"The path names a device, pipe or socket, not a regular file";
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"/dev/zero", kNotRegular},
        {folder.wpath("zero.txt"), kNotRegular},  // a link is taken for what it leads to
        {folder.wpath("pipe.txt"), kNotRegular},
        {L"/dev/null", kNotRegular},
        {folder.wpath("large.txt"),
         L"The file is larger than the half gigabyte a document may have"},
    };
    for (const auto& [path, reason] : cases) ExpectReadFailure(path, reason);
}

TEST(SpecialFiles, AFileWithoutReadPermissionIsDenied) {
    test::TempFolder folder;
    auto file = folder.Write("locked.txt", "secret");
    std::filesystem::permissions(file, std::filesystem::perms::none);
    if (std::FILE* opened = std::fopen(file.c_str(), "rb")) {
        std::fclose(opened);
        GTEST_SKIP() << "permissions do not bind this user";
    }
    ExpectReadFailure(folder.wpath("locked.txt"), L"Access to the file is denied");
}
TEST(SpecialFiles, ADeviceIsNoTm) {
    try {
        ReadTmxFile(L"/dev/zero");
        ADD_FAILURE() << "no error";
    } catch (const AutomationError& error) {
        EXPECT_EQ(error.description(),
                  L"Cannot read TM /dev/zero: the path names a device, pipe or socket, not a "
                  L"regular file");
    }
}

TEST(TmxReaderPosix, NothingOutsideTheFileIsReadNeitherFilesNorTheNetwork) {
    test::TempFolder folder_;
    folder_.Write("secret.txt", "SECRET");
    // A listening socket that sees any attempt to connect.
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length), 0);
    const std::string url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port));

    std::string dtd = R"(<?xml version="1.0"?>
<!DOCTYPE tmx SYSTEM "URL/tmx14.dtd" [
<!ENTITY file SYSTEM "file://SECRET">
<!ENTITY relative SYSTEM "secret.txt">
<!ENTITY remote SYSTEM "URL/r">
<!ENTITY % parameter SYSTEM "URL/p.dtd"> %parameter;
]>
)";
    dtd = std::regex_replace(dtd, std::regex("URL"), url);
    dtd = std::regex_replace(dtd, std::regex("SECRET"), (folder_.path() / "secret.txt").string());
    folder_.Write("tm.tmx", dtd + "<tmx><header srclang=\"en-US\"/><body>" +
                                Unit("a&file;b&relative;c&remote;") + "</body></tmx>");
    const TranslationMemory tm = ReadTmxFile(folder_.wpath("tm.tmx"));

    // The references stay what they are: markup.
    EXPECT_EQ(tm.units.at(0).source.codes,
              (std::vector<InlineCode>{{Kind::Standalone, L"", L"&file;"},
                                       {Kind::Standalone, L"", L"&relative;"},
                                       {Kind::Standalone, L"", L"&remote;"}}));
    EXPECT_LT(::accept(listener, nullptr, nullptr), 0) << "the reader connected to the network";
    ::close(listener);
}

}  // namespace
}  // namespace orv::engine
