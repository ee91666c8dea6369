#include "front/modErrors.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

const std::wstring kRequired =
    L"Required properties are:\r\n"
    L"1. path to tm; 2. user name; 3. target language\r\n"
    L"or\r\n"
    L"1. source language; 2. target language (with CreateEmptyTM = true)";

struct MessageCase {
    int32_t code;
    std::wstring detail;
    std::wstring message;
};

class ErrorMessage : public testing::TestWithParam<MessageCase> {};

TEST_P(ErrorMessage, IsTheExactTextOfTheTable) {
    EXPECT_EQ(modErrors::GetErrorMessage(GetParam().code, GetParam().detail), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    EveryCode, ErrorMessage,
    testing::Values(
        MessageCase{40000, L"", L"Unknown error"},
        MessageCase{40001, L"", L"Unable to open Tessera"},
        MessageCase{40002, L"", L"Error during analysis."},
        MessageCase{40003, L"C:\\Settings\\sgml.ini",
                    L"Unable to find file: \"C:\\Settings\\sgml.ini\""},
        MessageCase{40003, L"", L"Unable to find file: \"\""},
        // The detail goes in as given: no trimming, no doubled quotes.
        MessageCase{40003, L" a\"b ", L"Unable to find file: \" a\"b \""},
        MessageCase{40004, L"/no/such", L"Unable to find directory: \"/no/such\""},
        MessageCase{40005, L"ignored", L"Unable to find log file."},
        MessageCase{40006, L"", L"Unknown error"}, MessageCase{40007, L"", L"Unknown error"},
        MessageCase{40008, L"", L"Unknown error"}, MessageCase{40009, L"", L"Unknown error"},
        MessageCase{40010, L"", L"Unknown error"},
        MessageCase{40011, L"", L"No source language specified.\r\n" + kRequired},
        MessageCase{40012, L"", L"No target language specified.\r\n" + kRequired},
        MessageCase{40013, L"", L"No translation memory specified.\r\n" + kRequired},
        MessageCase{40014, L"", L"No user name specified.\r\n" + kRequired},
        MessageCase{40015, L"", L"Translation memory doesn't exist."},
        MessageCase{40016, L"", L"Unknown error"},
        MessageCase{40017, L"", L"Tessera can't read job files bigger than 64kB on Win9x systems."},
        MessageCase{39999, L"", L"Unknown error"}, MessageCase{40018, L"", L"Unknown error"},
        MessageCase{-1, L"x", L"Unknown error"}));

TEST(RaiseError, CarriesNumberSourceAndMessage) {
    try {
        modErrors::RaiseError(ovOrvBatchAnalyseErrorUnableToFindDirectory, L"D:\\Logs", L"src");
        FAIL() << "RaiseError returned";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 40004);
        EXPECT_EQ(e.source(), L"src");
        EXPECT_EQ(e.description(), L"Unable to find directory: \"D:\\Logs\"");
        EXPECT_STREQ(e.what(), "Unable to find directory: \"D:\\Logs\"");
    }
}

TEST(RaiseError, HasAnEmptySourceWhenNoneIsGiven) {
    try {
        modErrors::RaiseError(ovOrvBatchAnalyseErrorTmDoesntExist);
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), 40015);
        EXPECT_EQ(e.source(), L"");
    }
}

TEST(RuntimeErrors, UseTheMessagesClientsKnow) {
    EXPECT_EQ(RuntimeErrorMessage(kErrDuplicateKey),
              L"This key is already associated with an element of this collection");
    EXPECT_EQ(RuntimeErrorMessage(kErrSubscriptOutOfRange), L"Subscript out of range");
    EXPECT_EQ(RuntimeErrorMessage(kErrInvalidProcedureCall), L"Invalid procedure call or argument");
    EXPECT_EQ(RuntimeErrorMessage(kErrTypeMismatch), L"Type mismatch");
    EXPECT_EQ(RuntimeErrorMessage(kErrOverflow), L"Overflow");
}

}  // namespace
}  // namespace orv
