#include "cli/tm/LanguageArgument.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "cli/tm/UsageError.h"

namespace orv::cli {
namespace {

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

TEST(LanguageArgument, TakesIdsInDecimalOrHexAndTagsInAnyCaseOrSeparator) {
    const std::pair<const char*, int32_t> cases[] = {
        {"1031", 1031},  {"0x0407", 1031}, {"0X407", 1031},
        {"de-DE", 1031}, {"de_de", 1031},  {"DE-de", 1031},
        {"en-GB", 2057}, {"EN_gb", 2057},  {"zh-Hans-CN", 2052},
        {"es-ES", 3082}, {"3082", 3082},   {"1034", 1034},
        {"de", 7},       {"pt-BR", 1046},  {"sr-Latn-RS", 9242},
    };
    for (const auto& [argument, id] : cases)
        EXPECT_EQ(ParseLanguageArgument(argument), id) << argument;
}

TEST(LanguageArgument, RefusesWhatNamesNoKnownLanguageAndNamesTheArgument) {
    const char* const cases[] = {
        "",      "0",         "-1",      "+1031",   " 1031", "1031 ",      "10 31",
        "0x",    "0x-1",      "0x0407g", "1031a",   "4096",  "2147483648", "99999999999999999999",
        "xx",    "xx-YY",     "de-XX",   "en-001",  "*all*", "de--DE",     "de-",
        "x-foo", "d\xc3\xa9", " de-DE",  "de-DE\n",
    };
    for (const char* argument : cases) {
        EXPECT_THAT([&] { ParseLanguageArgument(argument); },
                    ThrowsMessage<UsageError>(HasSubstr("\"" + std::string(argument) + "\"")))
            << argument;
    }
}

TEST(LanguageArgument, DisplaysTheTagBesideTheId) {
    EXPECT_EQ(LanguageDisplay(1031), "de-DE (1031)");
    EXPECT_EQ(LanguageDisplay(2052), "zh-CN (2052)");
    EXPECT_EQ(LanguageDisplay(4096), "unknown language (4096)");
    EXPECT_EQ(LanguageDisplay(0), "unknown language (0)");
}

}  // namespace
}  // namespace orv::cli
