#include "engine/match/Substitution.h"

#include <gtest/gtest.h>

#include "TextTesting.h"
#include "engine/match/Matcher.h"
#include "platform/AutomationError.h"

namespace orv::engine {
namespace {

using test::Tagged;

SubstitutionOptions AllOn() {
    SubstitutionOptions options;
    options.dates = options.times = options.numbers = options.measurements = true;
    options.shortDatePattern = L"dd.MM.yyyy";
    options.longDatePattern = L"d MMMM yyyy";
    options.timePattern = L"HH:mm";
    return options;
}

SegmentMatch MatchOne(const std::wstring& unit, const std::wstring& query,
                      const SubstitutionOptions& substitution, int32_t placeablePenalty = 0) {
    TranslationMemory tm{L"en-US",
                         {L"de-DE"},
                         {TranslationUnit{Tagged(unit), {Variant{L"de-DE", Segment{L"x", {}}}}}}};
    TmIndex index(tm, L"de-DE", 1, {}, substitution);
    MatchOptions options;
    options.placeablePenalty = placeablePenalty;
    options.substitution = substitution;
    std::vector<Segment> batch{Tagged(query)};
    auto found = MatchBatch(index, batch, options, 1);
    EXPECT_EQ(found, BruteForceMatch(index, batch, options));
    return found.front();
}

TEST(SubstitutionTest, AUnitDifferingOnlyInSubstitutedValuesScoresAsIfTheyWereEqual) {
    struct Case {
        const wchar_t* unit;
        const wchar_t* query;
        int32_t on;   // score with everything substituted, placeable penalty 10
        int32_t off;  // score with nothing substituted, placeable penalty 10
    };
    const Case cases[] = {
        {L"Press 3 times", L"Press 4 times", 100, 56},
        {L"Pay 1,250.50 now", L"Pay 3.20 now", 100, 56},
        {L"Due on 01.02.2025 at the latest", L"Due on 17.11.2026 at the latest", 100, 73},
        {L"Due on 1 March 2025 please", L"Due on 17 November 2026 please", 100, 0},
        {L"Opens at 09:30 daily", L"Opens at 18:45 daily", 100, 56},
        {L"Cut 5 cm off", L"Cut 12 mm off", 100, 0},
        // A word differs too: only that word costs.
        {L"Press 3 times now", L"Press 4 times today", 75, 0},
        // A different kind, or a different count, is no substitution.
        {L"Cut 5 cm off", L"Cut 5 off", 56, 75},
        {L"Press 3 or 4 times", L"Press 3 times", 50, 50},
        // Inside a word digits stay text.
        {L"Use A4 paper", L"Use A3 paper", 56, 56},
        // Equal texts match whatever the options.
        {L"Press 3 times", L"Press 3 times", 100, 100},
    };
    SubstitutionOptions off;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        EXPECT_EQ(MatchOne(c.unit, c.query, AllOn(), 10).score, c.on);
        EXPECT_EQ(MatchOne(c.unit, c.query, off, 10).score, c.off);
    }
}

TEST(SubstitutionTest, EachKindIsSubstitutedOnlyByItsOwnFlag) {
    struct Case {
        const wchar_t* unit;
        const wchar_t* query;
        bool SubstitutionOptions::*flag;
    };
    const Case cases[] = {
        {L"Due on 01.02.2025 please", L"Due on 17.11.2026 please", &SubstitutionOptions::dates},
        {L"Opens at 09:30 daily", L"Opens at 18:45 daily", &SubstitutionOptions::times},
        {L"Cut 5 cm off", L"Cut 12 mm off", &SubstitutionOptions::measurements},
        {L"Press 3 times", L"Press 4 times", &SubstitutionOptions::numbers},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        SubstitutionOptions only = AllOn();
        only.dates = only.times = only.numbers = only.measurements = false;
        only.*c.flag = true;
        EXPECT_EQ(MatchOne(c.unit, c.query, only).band, Band::Exact100);
        // Numbers off too, as a date's or a time's digits are numbers of their own.
        SubstitutionOptions allBut = AllOn();
        allBut.*c.flag = allBut.numbers = false;
        EXPECT_NE(MatchOne(c.unit, c.query, allBut).band, Band::Exact100);
    }
}

TEST(SubstitutionTest, SeparatorsComeFromTheOptions) {
    SubstitutionOptions options;
    options.numbers = true;
    options.decimalSeparator = L",";
    options.groupSeparator = L".";
    Substitution substitution(options);
    EXPECT_EQ(substitution.Apply(Tagged(L"1.250,50 und 3")).text,
              substitution.Apply(Tagged(L"7,5 und 12")).text);
}

TEST(SubstitutionTest, SegmentsDifferingOnlyInNumbersAreNoRepetitions) {
    TranslationMemory tm{L"en-US", {L"de-DE"}, {}};
    MatchOptions options;
    options.substitution = AllOn();
    TmIndex index(tm, L"de-DE", 1, {}, options.substitution);
    auto found =
        MatchBatch(index, {Tagged(L"Press 3"), Tagged(L"Press 4"), Tagged(L"Press 4")}, options, 1);
    EXPECT_EQ(found[1].band, Band::NoMatch);
    EXPECT_EQ(found[2].band, Band::Repetition);
}

TEST(SubstitutionTest, UnitsDifferingOnlyInNumbersAreNoMultipleTranslations) {
    auto unit = [](const wchar_t* source, const wchar_t* target) {
        return TranslationUnit{Tagged(source), {Variant{L"de-DE", Segment{target, {}}}}};
    };
    TranslationMemory tm{
        L"en-US",
        {L"de-DE"},
        {unit(L"Press 3 times now", L"3 mal"), unit(L"Press 4 times now", L"4 mal")}};
    MatchOptions options;
    options.multipleTranslationsPenalty = 20;
    options.substitution = AllOn();
    TmIndex index(tm, L"de-DE", 1, {}, options.substitution);
    auto found = MatchBatch(index, {Tagged(L"Press 5 times today")}, options, 1);
    EXPECT_EQ(found[0].score, 75);
}

TEST(SubstitutionTest, AnUnclosedQuoteInAPatternIsRefusedWithItsReason) {
    SubstitutionOptions options = AllOn();
    options.timePattern = L"HH 'Uhr";
    try {
        Substitution substitution(options);
        FAIL() << "the pattern was taken";
    } catch (const AutomationError& error) {
        EXPECT_NE(error.description().find(L"HH 'Uhr"), std::wstring::npos);
    }
}

}  // namespace
}  // namespace orv::engine
