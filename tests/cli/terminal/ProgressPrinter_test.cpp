#include "cli/terminal/ProgressPrinter.h"

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
using TimePoint = std::chrono::steady_clock::time_point;

constexpr char kErase[] = "\x1b[K";

// The printer's clock, moved by hand.
struct FakeClock {
    TimePoint now{std::chrono::hours(1)};
    void Set(int ms) { now = TimePoint(std::chrono::hours(1)) + milliseconds(ms); }
    ProgressPrinter::Clock Function() {
        return [this] { return now; };
    }
};

// The texts drawn, in order: each drawing starts with "\r".
std::vector<std::string> Drawings(const std::string& output) {
    std::vector<std::string> drawings;
    std::size_t start = 0;
    while ((start = output.find('\r', start)) != std::string::npos) {
        const std::size_t end = output.find('\r', start + 1);
        drawings.push_back(output.substr(start + 1, end - start - 1));
        start = end;
    }
    return drawings;
}

std::string WithoutErase(std::string text) {
    if (text.size() >= 3 && text.compare(text.size() - 3, 3, kErase) == 0)
        text.resize(text.size() - 3);
    return text;
}

TEST(ProgressPrinterTest, ShowsReadingThenCountsThenRateAndTimeLeftOnceEnoughIsKnown) {
    std::ostringstream out;
    FakeClock clock;
    ProgressPrinter printer(out, {true, true, 200}, clock.Function());

    clock.Set(0);
    printer.Update({0, 12, 0, 0});
    clock.Set(50);  // matching starts: drawn although only 50 ms passed
    printer.Update({0, 12, 0, 5000});
    clock.Set(300);  // 250 ms of matching: too early for an estimate
    printer.Update({1, 12, 200, 5000});
    clock.Set(1050);
    printer.Update({3, 12, 850, 5000});
    clock.Set(2000);  // a second without progress keeps the estimate from the segments done
    printer.Update({3, 12, 850, 5000});
    clock.Set(2020);  // the final state is drawn at once
    printer.Update({12, 12, 5000, 5000});

    const std::vector<std::string> expected = {
        "Reading: 0/12 documents",
        "Analysing: 0/12 documents, 0/5,000 segments",
        "Analysing: 1/12 documents, 200/5,000 segments",
        "Analysing: 3/12 documents, 850/5,000 segments, 850 seg/s, about 5 s left",
        "Analysing: 3/12 documents, 850/5,000 segments, 436 seg/s, about 10 s left",
        "Analysing: 12/12 documents, 5,000/5,000 segments, 2,538 seg/s",
    };
    const std::vector<std::string> drawings = Drawings(out.str());
    ASSERT_EQ(drawings.size(), expected.size()) << out.str();
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(drawings[i], expected[i] + kErase);
    }
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
        std::ostringstream out;
        FakeClock clock;
        ProgressPrinter printer(out, {true, true, 1000}, clock.Function());
        clock.Set(0);
        printer.Update({0, 2, 0, c.segments});
        clock.Set(c.atMs);
        printer.Update({1, 2, c.done, c.segments});
        const std::string line = WithoutErase(Drawings(out.str()).back());
        EXPECT_EQ(line.substr(line.size() - std::min(line.size(), c.tail.size())), c.tail) << line;
    }
}

TEST(ProgressPrinterTest, RedrawsAtMostTenTimesASecondButAlwaysTheFirstAndTheFinalState) {
    std::ostringstream out;
    FakeClock clock;
    ProgressPrinter printer(out, {true, true, 200}, clock.Function());
    const std::pair<int, Progress> updates[] = {
        {0, {0, 1, 0, 1000}},       // first: drawn
        {50, {0, 1, 10, 1000}},     // dropped
        {99, {0, 1, 20, 1000}},     // dropped
        {100, {0, 1, 30, 1000}},    // 100 ms after the last drawing: drawn
        {150, {0, 1, 40, 1000}},    // dropped
        {160, {1, 1, 1000, 1000}},  // final: drawn
    };
    for (const auto& [atMs, progress] : updates) {
        clock.Set(atMs);
        printer.Update(progress);
    }
    const std::vector<std::string> drawings = Drawings(out.str());
    ASSERT_EQ(drawings.size(), 3u) << out.str();
    EXPECT_NE(drawings[1].find(" 30/1,000 segments"), std::string::npos);
    EXPECT_NE(drawings[2].find(" 1,000/1,000 segments"), std::string::npos);
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
            std::ostringstream out;
            FakeClock clock;
            ProgressPrinter printer(out, {true, ansi, c.columns}, clock.Function());
            clock.Set(0);
            printer.Update({0, 12, 0, 5000});
            clock.Set(1000);
            printer.Update({3, 12, 850, 5000});
            printer.Finish();
            const std::vector<std::string> drawings = Drawings(out.str());
            ASSERT_GE(drawings.size(), 2u);
            EXPECT_EQ(WithoutErase(drawings[1]), c.line)
                << c.columns << (ansi ? " ansi" : " plain");
            for (const std::string& drawing : drawings) {
                EXPECT_LT(WithoutErase(drawing).size(), static_cast<std::size_t>(c.columns));
            }
        }
    }
}

TEST(ProgressPrinterTest, WithoutControlSequencesShorterLinesAndFinishPadWithSpaces) {
    std::ostringstream out;
    FakeClock clock;
    ProgressPrinter printer(out, {true, false, 80}, clock.Function());
    clock.Set(0);
    printer.Update({0, 2, 0, 100});
    clock.Set(1000);
    printer.Update({1, 2, 50, 100});
    clock.Set(1050);
    printer.Update({2, 2, 100, 100});
    printer.Finish();

    const std::string longer =
        "Analysing: 1/2 documents, 50/100 segments, 50 seg/s, about 1 s left";
    const std::string shorter = "Analysing: 2/2 documents, 100/100 segments, 95 seg/s";
    const std::string expected = "\rAnalysing: 0/2 documents, 0/100 segments\r" + longer + "\r" +
                                 shorter + std::string(longer.size() - shorter.size(), ' ') + "\r" +
                                 std::string(shorter.size(), ' ') + "\r";
    EXPECT_EQ(out.str(), expected);
}

TEST(ProgressPrinterTest, FinishClearsTheLineOnlyWhenSomethingWasDrawnAndStartsAfresh) {
    std::ostringstream out;
    FakeClock clock;
    ProgressPrinter printer(out, {true, true, 80}, clock.Function());
    printer.Finish();
    EXPECT_EQ(out.str(), "");

    clock.Set(0);
    printer.Update({0, 1, 0, 10});
    printer.Finish();
    EXPECT_EQ(out.str(), "\rAnalysing: 0/1 documents, 0/10 segments\x1b[K\r\x1b[K");

    // A second analysis is drawn from its first update, with its own rate.
    out.str("");
    clock.Set(10);
    printer.Update({0, 1, 0, 10});
    clock.Set(1010);
    printer.Update({0, 1, 4, 10});
    EXPECT_EQ(WithoutErase(Drawings(out.str()).back()),
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
