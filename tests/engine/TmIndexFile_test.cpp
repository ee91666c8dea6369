// Match indexes and other cache files as written to disk and mapped back: what is read must
// search exactly as what was built, and a file that is not exactly what was written for the
// key asked for, or that would send a search outside its arrays, must not be read at all.

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "IndexRandomTm.h"
#include "engine/cache/CacheFile.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndexData.h"
#include "engine/match/TmIndexFile.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

using orv::test::ReadBytes;
using orv::test::TempFolder;
namespace fs = std::filesystem;

constexpr CacheFileKind kKind{0x54534554 /* "TEST" */, 3};

std::span<const std::byte> Bytes(const std::string& text) {
    return std::as_bytes(std::span(text));
}

std::string Text(std::span<const std::byte> bytes) {
    return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

TEST(CacheFileTest, SectionsOfAnySizeComeBackExactlyAndAligned) {
    TempFolder folder;
    const std::vector<std::string> texts = {
        "", "a", std::string(15, 'b'), std::string(16, 'c'), std::string(100003, 'd'), "\0\1\2"};
    std::vector<std::span<const std::byte>> sections;
    for (const auto& text : texts) sections.push_back(Bytes(text));
    const std::wstring path = folder.wpath("file.cache");
    WriteCacheFile(path, kKind, "key", sections);
    const auto read = ReadCacheFile(path, kKind, "key", texts.size());
    ASSERT_TRUE(read.has_value());
    ASSERT_EQ(read->sections.size(), texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(Text(read->sections[i]), texts[i]) << "section " << i;
        EXPECT_EQ(reinterpret_cast<uintptr_t>(read->sections[i].data()) % kCacheSectionAlignment,
                  0u);
    }
}

TEST(CacheFileTest, AFileThatIsNotExactlyWhatWasWrittenForTheKeyIsNotRead) {
    TempFolder folder;
    const std::string payload(5000, 'x'), other = "second";
    const std::wstring path = folder.wpath("file.cache");
    WriteCacheFile(path, kKind, "tm=a\nsize=1\n", {Bytes(payload), Bytes(other)});
    const std::string bytes = ReadBytes(path);
    const auto parse = [](const std::string& file, CacheFileKind kind, std::string_view key,
                          std::size_t sections) {
        return ParseCacheFile(Bytes(file), nullptr, kind, key, sections).has_value();
    };
    ASSERT_TRUE(parse(bytes, kKind, "tm=a\nsize=1\n", 2));

    EXPECT_FALSE(parse(bytes, kKind, "tm=a\nsize=2\n", 2)) << "another key, as long";
    EXPECT_FALSE(parse(bytes, kKind, "tm=a\nsize=1\nx", 2)) << "a longer key";
    EXPECT_FALSE(parse(bytes, {kKind.tag, kKind.version + 1}, "tm=a\nsize=1\n", 2));
    EXPECT_FALSE(parse(bytes, {kKind.tag + 1, kKind.version}, "tm=a\nsize=1\n", 2));
    EXPECT_FALSE(parse(bytes, kKind, "tm=a\nsize=1\n", 3)) << "another count of sections";
    for (std::size_t length : {std::size_t{0}, std::size_t{7}, std::size_t{47}, std::size_t{48},
                               bytes.size() / 2, bytes.size() - 1})
        EXPECT_FALSE(parse(bytes.substr(0, length), kKind, "tm=a\nsize=1\n", 2))
            << "cut short at " << length;
    EXPECT_FALSE(parse(bytes + std::string(16, '\0'), kKind, "tm=a\nsize=1\n", 2))
        << "grown by padding";
    for (std::size_t at = 0; at < bytes.size(); at += 37) {
        std::string damaged = bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x10);
        EXPECT_FALSE(parse(damaged, kKind, "tm=a\nsize=1\n", 2)) << "byte " << at << " changed";
    }
    EXPECT_FALSE(ReadCacheFile(folder.wpath("missing.cache"), kKind, "k", 2).has_value());
    EXPECT_FALSE(ReadCacheFile(folder.wpath(), kKind, "k", 2).has_value()) << "a folder";
}

using OptionSet = std::pair<const char*, MatchOptions>;

TEST(TmIndexFileTest, AnIndexReadBackSearchesExactlyAsTheOneBuilt) {
    TempFolder folder;
    MatchOptions substituting{0, 2, 3, 4, {}};
    substituting.substitution.numbers = true;
    const OptionSet optionSets[] = {
        {"floor 50", {0, 0, 0, 0, {}}},
        {"floor 75 with penalties", {75, 3, 4, 2, {}}},
        {"numbers substituted", substituting},
    };
    for (uint32_t seed : {11u, 12u}) {
        test::RandomTm random(seed, 300, 20);
        auto generated = random.NewTm(500);
        // Units into French only are relays for a German batch.
        for (std::size_t u = 0; u < generated.tm.units.size(); u += 9)
            for (Variant& variant : generated.tm.units[u].targets) variant.language = L"fr-FR";
        const std::vector<Segment> batch = random.NewBatch(generated, 400);
        for (const auto& [name, options] : optionSets) {
            SCOPED_TRACE(std::string(name) + ", seed " + std::to_string(seed));
            const TmIndex built(generated.tm, L"de-de", 2, {}, options.substitution);
            const std::wstring path = folder.wpath("index");
            WriteTmIndexFile(built, path, "key");
            auto read = ReadTmIndexFile(path, "key", L"de-de", options.substitution);
            ASSERT_TRUE(read.has_value());
            EXPECT_EQ(read->matchableUnits(), built.matchableUnits());
            EXPECT_FALSE(ReadTmIndexFile(path, "another key", L"de-de", options.substitution));
            // What is read outlives its name (where the system lets a mapped file go).
            std::error_code ignored;
            fs::remove(path, ignored);
            EXPECT_EQ(MatchBatch(*read, batch, options, 2), MatchBatch(built, batch, options, 2));
        }
    }
}

// Arrays that a damaged or made-up file could hold under a correct checksum: each would send
// a search outside the arrays or into a probe without end.
TEST(TmIndexFileTest, ArraysThatCannotBeSearchedSafelyAreNotRead) {
    test::RandomTm random(5);
    auto generated = random.NewTm(200);
    for (std::size_t u = 0; u < generated.tm.units.size(); u += 7)
        for (Variant& variant : generated.tm.units[u].targets) variant.language = L"fr-FR";
    const TmIndex built(generated.tm, L"de-de", 1);
    const TmIndex::Data& sound = built.data();
    ASSERT_TRUE(IsSearchable(sound));

    std::vector<std::shared_ptr<void>> kept;
    const auto changed = [&kept]<class T>(std::span<const T> from, auto change) {
        auto copy = std::make_shared<std::vector<T>>(from.begin(), from.end());
        change(*copy);
        kept.push_back(copy);
        return std::span<const T>(*copy);
    };
    const auto entries = static_cast<uint32_t>(sound.Entries());
    const auto vocabulary = static_cast<uint32_t>(sound.Vocabulary());
    ASSERT_FALSE(sound.placeables.empty());
    ASSERT_FALSE(sound.entryCodeKinds.empty());
    ASSERT_GT(sound.Relays(), 0u);
    using Data = TmIndex::Data;
    const std::pair<const char*, std::function<void(Data&)>> damages[] = {
        {"a posting of no entry",
         [&](Data& d) {
             d.postings = changed(d.postings, [&](auto& v) { v[0].entry = entries; });
         }},
        {"a token past the vocabulary",
         [&](Data& d) {
             d.foldedTokens = changed(d.foldedTokens, [&](auto& v) { v.back() = vocabulary; });
         }},
        {"an original token past its vocabulary",
         [&](Data& d) {
             d.originalTokens = changed(d.originalTokens, [&](auto& v) { v[0] = 1u << 30; });
         }},
        {"a placeable past the vocabulary",
         [&](Data& d) {
             d.placeables = changed(d.placeables, [&](auto& v) { v[0] = vocabulary; });
         }},
        {"token starts that fall",
         [&](Data& d) {
             d.tokenStart = changed(d.tokenStart, [](auto& v) { v[v.size() / 2] = v.back(); });
         }},
        {"token starts past the tokens",
         [&](Data& d) { d.tokenStart = changed(d.tokenStart, [](auto& v) { ++v.back(); }); }},
        {"text starts past the text",
         [&](Data& d) {
             d.entryTextStart = changed(d.entryTextStart, [](auto& v) { v.back() += 4096; });
         }},
        {"a vocabulary table without a free slot",
         [&](Data& d) {
             d.foldedSlots =
                 changed(d.foldedSlots, [](auto& v) { std::fill(v.begin(), v.end(), 1); });
         }},
        {"a slot past the vocabulary",
         [&](Data& d) {
             d.originalSlots = changed(d.originalSlots, [](auto& v) { v[0] = 0xFFFFFFF0u; });
         }},
        {"a signature bit past 128",
         [&](Data& d) {
             d.signatureBits = changed(d.signatureBits, [](auto& v) { v[0] = TokenBits{200, 0}; });
         }},
        {"common bits past 64",
         [&](Data& d) {
             d.signatureBits = changed(d.signatureBits, [](auto& v) { v[0] = TokenBits{60, 8}; });
         }},
        {"an exact table out of order",
         [&](Data& d) {
             d.exact = changed(d.exact, [](auto& v) { std::swap(v.front(), v.back()); });
         }},
        {"an exact entry of another key",
         [&](Data& d) { d.exact = changed(d.exact, [](auto& v) { v[0].key ^= 1; }); }},
        {"a relay of no relay",
         [&](Data& d) {
             d.relayExact = changed(d.relayExact, [&](auto& v) { v.back().position = 1u << 31; });
         }},
        {"an unknown code kind",
         [&](Data& d) { d.entryCodeKinds = changed(d.entryCodeKinds, [](auto& v) { v[0] = 9; }); }},
        {"an empty entry of no entry",
         [&](Data& d) { d.empty = changed(d.empty, [&](auto& v) { v.push_back(entries); }); }},
        {"fewer signatures than entries",
         [&](Data& d) {
             d.entrySignatures = changed(d.entrySignatures, [](auto& v) { v.pop_back(); });
         }},
        {"fewer units than entries",
         [&](Data& d) { d.entryUnits = changed(d.entryUnits, [](auto& v) { v.pop_back(); }); }},
    };
    TempFolder folder;
    for (const auto& [name, damage] : damages) {
        SCOPED_TRACE(name);
        auto data = std::make_unique<Data>(sound);
        damage(*data);
        EXPECT_FALSE(IsSearchable(*data));
        const TmIndex damaged(std::move(data));
        WriteTmIndexFile(damaged, folder.wpath("index"), "key");
        EXPECT_FALSE(ReadTmIndexFile(folder.wpath("index"), "key", L"de-de", {}).has_value());
    }
}

}  // namespace
}  // namespace orv::engine
