// Loads a TM of the size translators bring along (100,000 units, 25-30 MB) and reports how
// long it takes and how much memory it needs.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "engine/tm/TmxReader.h"
#include "support/TempFolder.h"

namespace orv::engine {
namespace {

#if defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
constexpr int kUnits = 100000;
#else
constexpr int kUnits = 10000;  // the same file at a tenth of the size, without time limit
#endif

double PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) * 1024;
}

TEST(TmxLoadTime, ALargeTmLoadsQuicklyAndCompactly) {
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
    const auto fileBytes =
        static_cast<double>(std::filesystem::file_size(folder.path() / "large.tmx"));
    const double peakBefore = PeakResidentBytes();

    const auto start = std::chrono::steady_clock::now();
    const TranslationMemory tm = ReadTmxFile(folder.wpath("large.tmx"));
    const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
    const double peak = PeakResidentBytes();
    std::printf(
        "Loaded %d units (%.1f MB) in %.3f s; peak resident memory %.1f MB (%.1f MB "
        "before loading)\n",
        kUnits, fileBytes / 1e6, seconds.count(), peak / 1e6, peakBefore / 1e6);

    ASSERT_EQ(tm.units.size(), static_cast<std::size_t>(kUnits));
    EXPECT_EQ(tm.units.back().targets.at(0).segment.text,
              L"Satz " + std::to_wstring(kUnits - 1) + L" des Handbuchs & sein Register.");
    EXPECT_EQ(tm.units.front().source.codes.size(), 2u);
    if (kUnits == 100000) {
        // Bounds with room for a loaded machine; the figures are printed above.
        EXPECT_LT(seconds.count(), 6.0);  // the 1.5 s bar is bench_tmx_load's
        EXPECT_LT(peak, 10 * fileBytes);
    }
}

}  // namespace
}  // namespace orv::engine
