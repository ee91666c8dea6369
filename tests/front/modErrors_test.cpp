#include "front/modErrors.h"

#include <gtest/gtest.h>

#include "support/FakeTessera.h"

namespace orv::test {
namespace {

TEST(modErrors, EveryCodeHasTheExactTextOfTheTableAndOthersAreUnknown) {
    const std::wstring required =
        L"\r\nRequired properties are:\r\n"
        L"1. path to tm; 2. user name; 3. target language\r\n"
        L"or\r\n"
        L"1. source language; 2. target language (with CreateEmptyTM = true)";
    const struct {
        int32_t code;
        std::wstring detail, message;
    } cases[] = {
        {40001, L"", L"Unable to open Tessera"},
        {40002, L"", L"Error during analysis."},
        // The detail goes in as given: no trimming, no doubled quotes.
        {40003, L" C:\\a\"b ", L"Unable to find file: \" C:\\a\"b \""},
        {40004, L"/no/such", L"Unable to find directory: \"/no/such\""},
        {40005, L"ignored", L"Unable to find log file."},
        {40011, L"", L"No source language specified." + required},
        {40012, L"", L"No target language specified." + required},
        {40013, L"", L"No translation memory specified." + required},
        {40014, L"", L"No user name specified." + required},
        {40015, L"", L"Translation memory doesn't exist."},
        {40017, L"", L"Tessera can't read job files bigger than 64kB on Win9x systems."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modErrors::GetErrorMessage(c.code, c.detail), c.message) << c.code;
    for (int32_t code : {40000, 40006, 40007, 40008, 40009, 40010, 40016, 40018, -1})
        EXPECT_EQ(modErrors::GetErrorMessage(code, L"x"), L"Unknown error") << code;
}

TEST(modErrors, RaiseErrorCarriesNumberSourceAndMessage) {
    auto error = RaisedBy([] { modErrors::RaiseError(40004, L"D:\\Logs", L"src"); });
    ASSERT_TRUE(error);
    EXPECT_EQ(error->number(), 40004);
    EXPECT_EQ(error->source(), L"src");
    EXPECT_EQ(error->description(), L"Unable to find directory: \"D:\\Logs\"");
    EXPECT_STREQ(error->what(), "Unable to find directory: \"D:\\Logs\"");
    EXPECT_EQ(RaisedBy([] { modErrors::RaiseError(40015); })->source(), L"");
}

TEST(modErrors, ThePlatformsErrorsUseTheMessagesClientsKnow) {
    const std::pair<int32_t, std::wstring> cases[] = {
        {kErrDuplicateKey, L"This key is already associated with an element of this collection"},
        {kErrSubscriptOutOfRange, L"Subscript out of range"},
        {kErrInvalidProcedureCall, L"Invalid procedure call or argument"},
        {kErrTypeMismatch, L"Type mismatch"},
        {kErrOverflow, L"Overflow"},
    };
    for (const auto& [number, message] : cases) EXPECT_EQ(RuntimeErrorMessage(number), message);
}

}  // namespace
}  // namespace orv::test
