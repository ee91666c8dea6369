#include "cli/terminal/ProgressPrinter.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "cli/report/ReportText.h"

namespace orv::cli {
namespace {

using namespace std::chrono_literals;

constexpr auto kRedrawInterval = 100ms;
constexpr auto kTimeBeforeEstimates = 500ms;
constexpr char kEraseToEnd[] = "\x1b[K";

// 1204 -> "1,204"; the line's words are English, so are its numbers.
std::string Grouped(std::size_t number) {
    return FormatCount(static_cast<int64_t>(number));
}

std::string RateText(double perSecond) {
    if (perSecond < 9.95) return fmt::format("{:.1f} seg/s", perSecond);
    // Capped so that the conversion cannot overflow; no real batch comes near it.
    return Grouped(static_cast<std::size_t>(std::min(perSecond, 1e15) + 0.5)) + " seg/s";
}

std::string TimeLeftText(double seconds) {
    constexpr double kMostHours = 99;
    if (seconds > kMostHours * 3600) return "over 99 h left";
    const auto wholeSeconds = static_cast<long long>(std::ceil(seconds));
    if (wholeSeconds < 60) return fmt::format("about {} s left", std::max(wholeSeconds, 1LL));
    const long long minutes = std::llround(seconds / 60);
    if (minutes < 60) return fmt::format("about {} min left", minutes);
    if (minutes % 60 == 0) return fmt::format("about {} h left", minutes / 60);
    return fmt::format("about {} h {} min left", minutes / 60, minutes % 60);
}

// The parts of the line, most important first; parts that do not fit are left off whole,
// so that a narrow terminal never shows a cut-off number.
std::vector<std::string> LineParts(const engine::Progress& progress, std::optional<double> rate) {
    const std::string documents =
        Grouped(progress.documentsDone) + "/" + Grouped(progress.documents) + " documents";
    if (progress.segments == 0) return {"Reading: " + documents};

    std::vector<std::string> parts{
        "Analysing: " + documents,
        Grouped(progress.segmentsDone) + "/" + Grouped(progress.segments) + " segments"};
    if (rate) {
        parts.push_back(RateText(*rate));
        if (progress.segmentsDone < progress.segments) {
            parts.push_back(TimeLeftText(
                static_cast<double>(progress.segments - progress.segmentsDone) / *rate));
        }
    }
    return parts;
}

std::string Fit(const std::vector<std::string>& parts, std::size_t width) {
    std::string text = parts.front().substr(0, width);
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (text.size() + 2 + parts[i].size() > width) break;
        text += ", " + parts[i];
    }
    return text;
}

}  // namespace

ProgressStyle ProgressStyleFor(const TerminalAbilities& abilities) {
    return ProgressStyle{abilities.stderrIsTerminal, abilities.stderrAnsi, abilities.columns};
}

ProgressPrinter::ProgressPrinter(std::ostream& out, ProgressStyle style, Clock clock)
    : out_(out),
      style_(style),
      clock_(clock ? std::move(clock) : &std::chrono::steady_clock::now) {}

ProgressPrinter::ProgressPrinter(std::ostream& out, const TerminalAbilities& terminal, bool enabled,
                                 Clock clock)
    : ProgressPrinter(out, ProgressStyle{enabled, terminal.stderrAnsi, terminal.columns},
                      std::move(clock)) {}

void ProgressPrinter::Update(const engine::Progress& progress) noexcept {
    if (!style_.enabled) return;
    // Everything here can only fail by running out of memory or by a stream that throws;
    // either way the drawing is dropped and the analysis goes on.
    try {
        std::lock_guard<std::mutex> hold(lock_);
        const auto now = clock_();
        const bool matching = progress.segments > 0;
        const bool startsMatching = matching && !matching_;
        // A segment count that went back means another analysis without a Finish between.
        if (startsMatching || (matching && progress.segmentsDone < matchStartSegments_)) {
            matchStart_ = now;
            matchStartSegments_ = progress.segmentsDone;
        }
        matching_ = matching;

        const bool final = progress.documentsDone >= progress.documents &&
                           progress.segmentsDone >= progress.segments;
        if (drawn_ && !startsMatching && !final && now - lastDraw_ < kRedrawInterval) return;

        std::optional<double> rate;
        const auto matchingFor = now - matchStart_;
        if (matching && matchingFor >= kTimeBeforeEstimates &&
            progress.segmentsDone > matchStartSegments_) {
            rate = static_cast<double>(progress.segmentsDone - matchStartSegments_) /
                   std::chrono::duration<double>(matchingFor).count();
        }
        const std::size_t width = style_.columns > 1 ? style_.columns - 1 : 1;
        lastDraw_ = now;
        Draw(Fit(LineParts(progress, rate), width));
    } catch (...) {
    }
}

void ProgressPrinter::Draw(const std::string& text) {
    std::string line = "\r" + text;
    if (style_.ansi) {
        line += kEraseToEnd;
    } else if (shownLength_ > text.size()) {
        line.append(shownLength_ - text.size(), ' ');
    }
    // Set before writing, so that Finish clears whatever part of the line got out.
    drawn_ = true;
    shownLength_ = std::max(shownLength_, text.size());
    out_.write(line.data(), static_cast<std::streamsize>(line.size()));
    out_.flush();
    shownLength_ = text.size();
}

void ProgressPrinter::Finish() noexcept {
    if (!style_.enabled) return;
    try {
        std::lock_guard<std::mutex> hold(lock_);
        const bool drawn = drawn_;
        const std::size_t length = shownLength_;
        drawn_ = false;
        matching_ = false;
        shownLength_ = 0;
        matchStartSegments_ = 0;
        if (!drawn) return;
        const std::string clear =
            style_.ansi ? std::string("\r") + kEraseToEnd : "\r" + std::string(length, ' ') + "\r";
        out_.write(clear.data(), static_cast<std::streamsize>(clear.size()));
        out_.flush();
    } catch (...) {
        // As in Update: a line that cannot be cleared is no reason to fail the run.
    }
}

}  // namespace orv::cli
