#include "cli/terminal/ProgressPrinter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace orv::cli {
namespace {

using engine::Progress;
using std::chrono::milliseconds;
using testing::EndsWith;
using testing::HasSubstr;
using TimePoint = std::chrono::steady_clock::time_point;

constexpr char kErase[] = "\x1b[K";

// The texts drawn, in order: each drawing starts with "\r".
std::vector<std::string> Drawings(const std::string& output) {
    std::vector<std::string> drawings;
    for (std::size_t start = output.find('\r'); start != std::string::npos;) {
        const std::size_t end = output.find('\r', start + 1);
        drawings.push_back(output.substr(start + 1, end - start - 1));
        start = end;
    }
    return drawings;
}

std::string WithoutErase(std::string text) {
    if (text.ends_with(kErase)) text.resize(text.size() - 3);
    return text;
}

// A printer writing to a string, with a clock moved by hand.
struct Printer {
    std::ostringstream out;
    TimePoint now;
    ProgressPrinter printer;

    explicit Printer(ProgressStyle style) : printer(out, style, [this] { return now; }) {}
    void At(int ms, const Progress& progress) {
        now = TimePoint(std::chrono::hours(1) + milliseconds(ms));
        printer.Update(progress);
    }
    std::vector<std::string> drawings() const { return Drawings(out.str()); }
};

TEST(ProgressPrinterTest, ShowsReadingThenCountsThenRateAndTimeLeftOnceEnoughIsKnown) {
    Printer p({true, true, 200});
    p.At(0, {0, 12, 0, 0});
    p.At(50, {0, 12, 0, 5000});     // matching starts: drawn although only 50 ms passed
    p.At(300, {1, 12, 200, 5000});  // 250 ms of matching: too early for an estimate
    p.At(1050, {3, 12, 850, 5000});
    // A second without progress keeps the estimate from the segments done.
    p.At(2000, {3, 12, 850, 5000});
    p.At(2020, {12, 12, 5000, 5000});  // the final state is drawn at once

    std::vector<std::string> expected = {
        "Reading: 0/12 documents",
        "Analysing: 0/12 documents, 0/5,000 segments",
        "Analysing: 1/12 documents, 200/5,000 segments",
        "Analysing: 3/12 documents, 850/5,000 segments, 850 seg/s, about 5 s left",
        "Analysing: 3/12 documents, 850/5,000 segments, 436 seg/s, about 10 s left",
        "Analysing: 12/12 documents, 5,000/5,000 segments, 2,538 seg/s",
    };
    for (std::string& line : expected) line += kErase;
    EXPECT_EQ(p.drawings(), expected);
}

TEST(ProgressPrinterTest, RateAndTimeLeftAreWrittenInUnitsAPersonReadsAtAGlance) {
    struct Case {
        std::size_t done, segments;
        int atMs;
        std::string tail;
    };
    const Case cases[] = {
        {100, 150, 1000, "100 seg/s, about 1 s left"},
        {100, 6000, 1000, "100 seg/s, about 59 s left"},
        {100, 6200, 1000, "100 seg/s, about 1 min left"},
        {100, 100 + 357000, 1000, "100 seg/s, about 1 h left"},
        {100, 100 + 540000, 1000, "100 seg/s, about 1 h 30 min left"},
        {100, 1000000000, 1000, "100 seg/s, over 99 h left"},
        {5, 10, 2000, "2.5 seg/s, about 2 s left"},
        {12345, 12345, 1000, "12,345 seg/s"},
        {0, 100, 5000, "0/100 segments"},  // nothing matched: no estimate
    };
    for (const Case& c : cases) {
        Printer p({true, true, 1000});
        p.At(0, {0, 2, 0, c.segments});
        p.At(c.atMs, {1, 2, c.done, c.segments});
        EXPECT_THAT(WithoutErase(p.drawings().back()), EndsWith(c.tail));
    }
}

TEST(ProgressPrinterTest, RedrawsAtMostTenTimesASecondButAlwaysTheFirstAndTheFinalState) {
    Printer p({true, true, 200});
    p.At(0, {0, 1, 0, 1000});       // first: drawn
    p.At(50, {0, 1, 10, 1000});     // dropped
    p.At(99, {0, 1, 20, 1000});     // dropped
    p.At(100, {0, 1, 30, 1000});    // 100 ms after the last drawing: drawn
    p.At(150, {0, 1, 40, 1000});    // dropped
    p.At(160, {1, 1, 1000, 1000});  // final: drawn
    const std::vector<std::string> drawings = p.drawings();
    ASSERT_EQ(drawings.size(), 3u) << p.out.str();
    EXPECT_THAT(drawings[1], HasSubstr(" 30/1,000 segments"));
    EXPECT_THAT(drawings[2], HasSubstr(" 1,000/1,000 segments"));
}

TEST(ProgressPrinterTest, LinesLeaveOffWholePartsToFitTheTerminal) {
    struct Case {
        int columns;
        std::string line;
    };
    const Case cases[] = {
        {80, "Analysing: 3/12 documents, 850/5,000 segments, 850 seg/s, about 5 s left"},
        {73, "Analysing: 3/12 documents, 850/5,000 segments, 850 seg/s, about 5 s left"},
        {72, "Analysing: 3/12 documents, 850/5,000 segments, 850 seg/s"},
        {50, "Analysing: 3/12 documents, 850/5,000 segments"},
        {40, "Analysing: 3/12 documents"},
        {10, "Analysing"},  // nothing fits whole: cut
    };
    for (const Case& c : cases) {
        for (bool ansi : {true, false}) {
            Printer p({true, ansi, c.columns});
            p.At(0, {0, 12, 0, 5000});
            p.At(1000, {3, 12, 850, 5000});
            p.printer.Finish();
            const std::vector<std::string> drawings = p.drawings();
            ASSERT_GE(drawings.size(), 2u);
            EXPECT_EQ(WithoutErase(drawings[1]), c.line) << c.columns << (ansi ? " ansi" : "");
            for (const std::string& drawing : drawings) {
                EXPECT_LT(WithoutErase(drawing).size(), static_cast<std::size_t>(c.columns));
            }
        }
    }
}

TEST(ProgressPrinterTest, WithoutControlSequencesShorterLinesAndFinishPadWithSpaces) {
    Printer p({true, false, 80});
    p.At(0, {0, 2, 0, 100});
    p.At(1000, {1, 2, 50, 100});
    p.At(1050, {2, 2, 100, 100});
    p.printer.Finish();

    const std::string longer =
        "Analysing: 1/2 documents, 50/100 segments, 50 seg/s, about 1 s left";
    const std::string shorter = "Analysing: 2/2 documents, 100/100 segments, 95 seg/s";
    const std::string expected = "\rAnalysing: 0/2 documents, 0/100 segments\r" + longer + "\r" +
                                 shorter + std::string(longer.size() - shorter.size(), ' ') + "\r" +
                                 std::string(shorter.size(), ' ') + "\r";
    EXPECT_EQ(p.out.str(), expected);
}

TEST(ProgressPrinterTest, FinishClearsTheLineOnlyWhenSomethingWasDrawnAndStartsAfresh) {
    Printer p({true, true, 80});
    p.printer.Finish();
    EXPECT_EQ(p.out.str(), "");

    p.At(0, {0, 1, 0, 10});
    p.printer.Finish();
    EXPECT_EQ(p.out.str(), "\rAnalysing: 0/1 documents, 0/10 segments\x1b[K\r\x1b[K");

    // A second analysis is drawn from its first update, with its own rate.
    p.out.str("");
    p.At(10, {0, 1, 0, 10});
    p.At(1010, {0, 1, 4, 10});
    EXPECT_EQ(WithoutErase(p.drawings().back()),
              "Analysing: 0/1 documents, 4/10 segments, 4.0 seg/s, about 2 s left");
}

TEST(ProgressPrinterTest, DisabledPrinterWritesNothing) {
    std::ostringstream out;
    ProgressPrinter printer(out, {false, true, 80});
    printer.Update({0, 1, 0, 0});
    printer.Update({1, 1, 10, 10});
    printer.Finish();
    EXPECT_EQ(out.str(), "");
}

TEST(ProgressPrinterTest, AFailingStreamNeverThrowsOutOfTheCallback) {
    struct ThrowingBuffer : std::streambuf {
        int overflow(int) override { throw std::runtime_error("disk full"); }
    } buffer;
    std::ostream out(&buffer);
    out.exceptions(std::ios::badbit);
    ProgressPrinter printer(out, {true, true, 80});
    EXPECT_NO_THROW(printer.Update({0, 1, 0, 10}));
    EXPECT_NO_THROW(printer.Update({1, 1, 10, 10}));
    EXPECT_NO_THROW(printer.Finish());
}

TEST(ProgressPrinterTest, UpdatesFromSeveralThreadsDrawWholeLines) {
    std::ostringstream out;
    std::atomic<int> ticks{0};
    // Every call of the clock is 200 ms later, so no update is dropped.
    ProgressPrinter printer(out, {true, true, 200},
                            [&ticks] { return TimePoint(milliseconds(200) * ticks.fetch_add(1)); });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&printer] {
            for (std::size_t i = 0; i < 300; ++i) printer.Update({1, 3, i, 1000});
        });
    }
    for (auto& thread : threads) thread.join();

    const std::regex whole(
        R"(Analysing: 1/3 documents, \d+/1,000 segments(, [\d,.]+ seg/s(, [^,]+ left)?)?\x1b\[K)");
    const std::vector<std::string> drawings = Drawings(out.str());
    EXPECT_EQ(drawings.size(), 1200u);
    for (const std::string& drawing : drawings) {
        ASSERT_TRUE(std::regex_match(drawing, whole)) << drawing;
    }
}

}  // namespace
}  // namespace orv::cli
