#include "results/NumberConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/AutomationError.h"
#include "support/FakePlatform.h"

namespace orv {
namespace {

// The error number `convert` raised, or 0.
template <typename Convert>
int32_t ErrorOf(Convert convert) {
    try {
        convert();
    } catch (const AutomationError& error) {
        return error.number();
    }
    return 0;
}

TEST(NumberConversionTest, RoundsHalvesToEvenWithinThirtyTwoBits) {
    const struct {
        double value;
        int32_t expected;
    } cases[] = {{2.5, 2},
                 {3.5, 4},
                 {-2.5, -2},
                 {-3.5, -4},
                 {0.5, 0},
                 {-0.5, 0},
                 {1.4999, 1},
                 {2.5000001, 3},
                 {-1.0, -1},
                 {2147483647.4, 2147483647},
                 {-2147483648.5, -2147483648}};
    for (const auto& c : cases) EXPECT_EQ(RoundToLong(c.value), c.expected) << c.value;
}

TEST(NumberConversionTest, OutOfRangeOrNonFiniteValuesOverflow) {
    for (double value :
         {2147483647.5, -2147483649.0, 1e300, std::numeric_limits<double>::infinity(),
          std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(ErrorOf([&] { RoundToLong(value); }), kErrOverflow) << value;
    }
}

TEST(NumberConversionTest, TextThatIsNoNumberIsATypeMismatch) {
    test::FakePlatform platform;
    for (const wchar_t* text : {L"", L" ", L"many", L"1 2"}) {
        EXPECT_EQ(ErrorOf([&] { CountFromText(platform, text); }), kErrTypeMismatch) << text;
        EXPECT_EQ(ErrorOf([&] { DoubleFromText(platform, text); }), kErrTypeMismatch) << text;
    }
}

TEST(NumberConversionTest, LeadingNumberReadsUpToTheFirstOtherCharacter) {
    const struct {
        const wchar_t* text;
        double expected;
    } cases[] = {{L"12", 12}, {L"  -3.5x", -3.5}, {L"+4", 4},  {L"2,5", 2},
                 {L"1e3", 1}, {L".5", 0.5},       {L"7.", 7},  {L"abc", 0},
                 {L"", 0},    {L".", 0},          {L"- 3", 0}, {L"\t3", 0}};
    for (const auto& c : cases) EXPECT_EQ(LeadingNumberValue(c.text), c.expected) << c.text;

    EXPECT_EQ(LeadingNumberValue(L"9" + std::wstring(400, L'0')),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(LeadingNumberValue(L"0." + std::wstring(400, L'0') + L"1"), 0.0);
}

TEST(NumberConversionTest, TheDecimalSeparatorIsTheFirstNonDigitOfNineTenths) {
    EXPECT_EQ(DecimalSeparatorOf(L"0.9"), L'.');
    EXPECT_EQ(DecimalSeparatorOf(L"0,9"), L',');
    EXPECT_EQ(DecimalSeparatorOf(L",9"), L',');
    EXPECT_EQ(DecimalSeparatorOf(L"09"), L'.');
}

}  // namespace
}  // namespace orv
