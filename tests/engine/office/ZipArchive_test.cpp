#include "engine/office/ZipArchive.h"

#include <gtest/gtest.h>

#include "DocumentTesting.h"
#include "support/office/ZipWriter.h"

namespace orv::engine {
namespace {

using orv::test::ZipBytes;
using test::FailureOf;

TEST(ZipArchiveTest, ReadsEntriesByNameExactlyOrElseWithoutCase) {
    const std::string bytes = ZipBytes({{"word/document.xml", "<w/>"},
                                        {"Word/Styles.xml", "styles", true},
                                        {"word/styles.xml", "exact"}});
    ZipArchive archive(bytes);
    EXPECT_EQ(archive.Names().size(), 3u);
    EXPECT_EQ(archive.Read("word/document.xml"), "<w/>");
    EXPECT_EQ(archive.Read("WORD/DOCUMENT.XML"), "<w/>");
    EXPECT_EQ(archive.Read("word/styles.xml"), "exact");
    EXPECT_EQ(archive.Read("WORD/STYLES.XML"), "styles");
    EXPECT_EQ(archive.Read("word/missing.xml"), std::nullopt);

    std::optional<ZipArchive::Entry> entry = archive.Open("word/document.xml");
    ASSERT_TRUE(entry);
    char piece[3];
    std::string streamed;
    for (std::size_t n; (n = entry->Read(piece, sizeof piece)) > 0;) streamed.append(piece, n);
    EXPECT_EQ(streamed, "<w/>");
}

TEST(ZipArchiveTest, RefusesWhatIsNotASoundArchive) {
    const std::string good = ZipBytes({{"content.xml", std::string(5000, 'x')}});
    std::string truncated = good.substr(0, good.size() / 2);
    std::string corrupted = good;
    // Inside the deflated data of the one entry: its checksum no longer holds.
    for (std::size_t i = 40; i < 60; ++i) corrupted[i] = static_cast<char>(corrupted[i] ^ 0x5A);

    const struct {
        const char* what;
        std::string bytes;
        const wchar_t* failure;
    } cases[] = {
        {"text", "just some text", L"The file is not a zip container"},
        {"OLE", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(600, '\0'),
         L"The file is not a zip container but an OLE compound file: it is encrypted, or in a "
         L"binary Office format under another extension"},
        {"truncated", truncated, L"The file's zip container is damaged"},
        {"corrupted", corrupted, L"The file's zip container is damaged"},
        {"climbing", ZipBytes({{"../../etc/evil", "x"}}),
         L"The file's zip container names an entry by a path outside it (absolute, or with a "
         L"\"..\" step)"},
        {"absolute", ZipBytes({{"/etc/evil", "x"}}),
         L"The file's zip container names an entry by a path outside it (absolute, or with a "
         L"\"..\" step)"},
        {"encrypted", ZipBytes({{"content.xml", "secret", false, "password"}}),
         L"The document is encrypted: open it with its password and save it without one"},
        {"bomb", ZipBytes({{"content.xml", std::string(40u << 20, ' ')}}),
         L"The file's zip container unpacks to far more than a document holds (a zip bomb)"},
    };
    for (const auto& c : cases) {
        const std::wstring failure = FailureOf([&] {
            ZipArchive archive(c.bytes);
            for (const std::string& name : archive.Names()) archive.Read(name);
        });
        EXPECT_EQ(failure, c.failure) << c.what;
    }
}

}  // namespace
}  // namespace orv::engine
