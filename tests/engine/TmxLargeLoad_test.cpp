// A TM of many units, with inline codes and entities in every other unit, read whole: every
// unit arrives in file order with its text and codes. How fast and how compactly it loads is
// bench_tmx_load's to measure, where a busy machine cannot fail a test.

#include <gtest/gtest.h>

#include <fstream>

#include "engine/tm/TmxReader.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

constexpr int kUnits = 10000;

TEST(TmxLargeLoad, EveryUnitArrivesInFileOrderWithItsTextAndCodes) {
    test::TempFolder folder;
    {
        std::ofstream out(folder.path() / "large.tmx", std::ios::binary);
        out << "<?xml version=\"1.0\"?>\n<tmx version=\"1.4\">\n<header "
               "srclang=\"en-US\"/>\n<body>\n";
        const char* b = "<bpt i=\"1\">&lt;b&gt;</bpt>";
        const char* e = "<ept i=\"1\">&lt;/b&gt;</ept>";
        for (int i = 0; i < kUnits; ++i) {
            out << "<tu creationdate=\"20240101T120000Z\" creationid=\"TRANSLATOR\">\n"
                << "  <tuv xml:lang=\"en-US\"><seg>";
            if (i % 2 == 0)
                out << "Step " << i << " explains how to " << b << "configure" << e
                    << " the device.</seg></tuv>\n  <tuv xml:lang=\"de-DE\"><seg>Schritt " << i
                    << " erkl\xC3\xA4rt, wie man das Ger\xC3\xA4t " << b << "einrichtet" << e;
            else
                out << "Sentence " << i << " of the manual &amp; its index.</seg></tuv>\n"
                    << "  <tuv xml:lang=\"de-DE\"><seg>Satz " << i
                    << " des Handbuchs &amp; sein Register";
            out << ".</seg></tuv>\n</tu>\n";
        }
        out << "</body>\n</tmx>\n";
    }
    const TranslationMemory tm = ReadTmxFile(folder.wpath("large.tmx"));

    ASSERT_EQ(tm.units.size(), static_cast<std::size_t>(kUnits));
    for (const int i : {0, 1, kUnits / 2 + 1, kUnits - 2, kUnits - 1}) {
        SCOPED_TRACE(i);
        const TranslationUnit& unit = tm.units.at(static_cast<std::size_t>(i));
        ASSERT_EQ(unit.targets.size(), 1u);
        EXPECT_EQ(unit.targets[0].language, L"de-DE");
        if (i % 2 == 0) {
            EXPECT_EQ(unit.source.codes.size(), 2u);
            EXPECT_EQ(unit.targets[0].segment.codes.size(), 2u);
            EXPECT_NE(unit.targets[0].segment.text.find(L"Ger\u00E4t"), std::wstring::npos);
        } else {
            EXPECT_TRUE(unit.source.codes.empty());
            EXPECT_EQ(unit.targets[0].segment.text,
                      L"Satz " + std::to_wstring(i) + L" des Handbuchs & sein Register.");
        }
    }
}

}  // namespace
}  // namespace orv::engine
