#include "engine/tm/TmxBlockReader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/tm/TmxReader.h"
#include "platform/AutomationError.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

std::string UnitsTmx(int units, const std::string& after = "") {
    std::string tmx =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<tmx version=\"1.4\">\n"
        "<header srclang=\"en-US\"/>\n<body>\n";
    for (int u = 0; u < units; ++u)
        tmx += "<tu><tuv xml:lang=\"en-US\"><seg>Unit " + std::to_string(u) +
               "</seg></tuv><tuv xml:lang=\"de-DE\"><seg>Einheit " + std::to_string(u) +
               "</seg></tuv></tu>\n";
    return tmx + after + "</body>\n</tmx>\n";
}

class TmxBlockReaderTest : public testing::Test {
protected:
    test::TempFolder folder_;
};

TEST_F(TmxBlockReaderTest, HandsOverEveryUnitInOrderInBlocksOfTheSizeAsked) {
    const std::wstring path = folder_.Write("tm.tmx", UnitsTmx(13)).wstring();
    const TranslationMemory whole = ReadTmxFile(path);
    for (std::size_t blockSize : {1u, 2u, 5u, 13u, 100u}) {
        SCOPED_TRACE(blockSize);
        std::vector<std::size_t> sizes;
        std::vector<std::wstring> sources;
        const TranslationMemory rest =
            ReadTmxFileInBlocks(path, blockSize, [&](std::span<const TranslationUnit> block) {
                sizes.push_back(block.size());
                for (const TranslationUnit& unit : block) sources.push_back(unit.source.text);
            });
        ASSERT_EQ(sources.size(), whole.units.size());
        for (std::size_t u = 0; u < sources.size(); ++u)
            EXPECT_EQ(sources[u], whole.units[u].source.text);
        for (std::size_t b = 0; b + 1 < sizes.size(); ++b) EXPECT_EQ(sizes[b], blockSize);
        EXPECT_LE(sizes.back(), blockSize);
        EXPECT_EQ(rest.targetLanguages, whole.targetLanguages);
        EXPECT_TRUE(rest.units.empty());
    }
}

// The reading thread may be waiting to hand over a block, reading, or done: whichever, a
// failure on either side ends both and reaches the caller.
TEST_F(TmxBlockReaderTest, AFailureOnEitherSideEndsBothAndReachesTheCaller) {
    const std::wstring large = folder_.Write("large.tmx", UnitsTmx(3000)).wstring();
    for (int failAt : {0, 1, 50}) {
        SCOPED_TRACE(failAt);
        int blocks = 0;
        EXPECT_THROW(ReadTmxFileInBlocks(large, 10,
                                         [&](std::span<const TranslationUnit>) {
                                             if (blocks++ == failAt)
                                                 throw std::runtime_error("taken no more");
                                         }),
                     std::runtime_error);
        EXPECT_EQ(blocks, failAt + 1);
    }

    // Damaged after its fifth unit: the units before are handed over, then the fault.
    const std::wstring damaged =
        folder_.Write("damaged.tmx", UnitsTmx(5, "<tu><tuv xml:lang=\"en-US\"><seg>x</tuv>\n"))
            .wstring();
    std::size_t units = 0;
    try {
        ReadTmxFileInBlocks(damaged, 2,
                            [&](std::span<const TranslationUnit> block) { units += block.size(); });
        ADD_FAILURE() << "a damaged file was read";
    } catch (const AutomationError& error) {
        EXPECT_NE(error.description().find(L"Opening and ending tag mismatch"), std::wstring::npos);
    }
    EXPECT_EQ(units, 5u);

    std::atomic<int> asked = 0;
    EXPECT_THROW(
        ReadTmxFileInBlocks(
            large, 10, [](std::span<const TranslationUnit>) {}, [&] { return ++asked > 100; }),
        LoadCancelled);
}

}  // namespace
}  // namespace orv::engine
