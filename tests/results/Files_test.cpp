#include "results/Files.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/AutomationError.h"

namespace orv {
namespace {

template <typename Call>
int32_t ErrorNumberOf(Call call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

TEST(Files, AddWithoutKeyIsReachableByPositionAndEnumerationOnly) {
    Files files;
    auto added = files.Add(L"C:\\Docs\\a.rtf");
    EXPECT_EQ(files.Count(), 1);
    EXPECT_EQ(added->get_Key(), L"");
    EXPECT_EQ(files.Item(1), added);
    EXPECT_EQ(files.NewEnum(), std::vector<Files::Record>{added});
    EXPECT_EQ(ErrorNumberOf([&] { files.Item(L""); }), kErrInvalidProcedureCall);
}

TEST(Files, AddReturnsAFreshSharedRecord) {
    Files files;
    auto added = files.Add(L"doc.txt", L"K");
    EXPECT_EQ(added->get_FilePath(), L"doc.txt");
    EXPECT_EQ(added->get_Key(), L"K");
    EXPECT_FALSE(added->get_FileProcessed());
    added->put_WordsTotal(12);  // a change through either reference is seen by both
    EXPECT_EQ(files.Item(L"k")->get_WordsTotal(), 12);
}

TEST(Files, KeysIgnoreLetterCase) {
    Files files;
    auto a = files.Add(L"x", L"Straße");
    // Simple folding keeps a length: ß and SS stay different keys.
    EXPECT_EQ(ErrorNumberOf([&] { files.Item(L"STRASSE"); }), kErrInvalidProcedureCall);
    EXPECT_EQ(files.Item(L"straße"), a);
    EXPECT_EQ(files.Item(L"STRAẞE"), a);
    files.Add(L"y", L"A");
    EXPECT_EQ(files.Item(L"a"), files.Item(L"A"));
}

TEST(Files, ADuplicateKeyInAnyCaseAddsNothing) {
    Files files;
    auto first = files.Add(L"one", L"A");
    EXPECT_EQ(ErrorNumberOf([&] { files.Add(L"two", L"a"); }), kErrDuplicateKey);
    EXPECT_EQ(files.Count(), 1);
    EXPECT_EQ(files.Item(L"A"), first);
}

TEST(Files, SamePathTwiceIsAllowed) {
    Files files;
    files.Add(L"same");
    files.Add(L"same", L"k");
    files.Add(L"same");
    EXPECT_EQ(files.Count(), 3);
}

TEST(Files, BadPositionsAndMissingKeysFailWithTheUsualNumbers) {
    Files files;
    files.Add(L"a", L"ka");
    files.Add(L"b");
    struct Case {
        const char* what;
        std::function<void()> call;
        int32_t number;
    };
    const Case cases[] = {
        {"Item 0", [&] { files.Item(0); }, kErrSubscriptOutOfRange},
        {"Item Count+1", [&] { files.Item(3); }, kErrSubscriptOutOfRange},
        {"Item -1", [&] { files.Item(-1); }, kErrSubscriptOutOfRange},
        {"Item missing key", [&] { files.Item(L"nope"); }, kErrInvalidProcedureCall},
        {"Remove 0", [&] { files.Remove(0); }, kErrSubscriptOutOfRange},
        {"Remove 3", [&] { files.Remove(3); }, kErrSubscriptOutOfRange},
        {"Remove missing key", [&] { files.Remove(L"nope"); }, kErrInvalidProcedureCall},
        {"Remove empty key", [&] { files.Remove(L""); }, kErrInvalidProcedureCall},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorNumberOf(c.call), c.number) << c.what;
    EXPECT_EQ(files.Count(), 2);
}

TEST(Files, RemovingMovesLaterRecordsUpAndFreesTheKey) {
    Files files;
    auto a = files.Add(L"a", L"A");
    auto b = files.Add(L"b", L"B");
    auto c = files.Add(L"c");
    files.Remove(1);
    EXPECT_EQ(files.Count(), 2);
    EXPECT_EQ(files.Item(1), b);
    EXPECT_EQ(files.Item(2), c);
    EXPECT_EQ(ErrorNumberOf([&] { files.Item(L"a"); }), kErrInvalidProcedureCall);
    files.Add(L"a again", L"a");  // the key is free again

    files.Remove(L"b");
    EXPECT_EQ(files.Item(1), c);
    EXPECT_EQ(files.Count(), 2);
    EXPECT_EQ(a->get_FilePath(), L"a");  // a removed record stays valid for its holder
}

TEST(Files, EnumerationVisitsEveryRecordInOrderAndToleratesRemoval) {
    Files files;
    for (auto p : {L"1", L"2", L"3"}) files.Add(p);
    std::wstring seen;
    for (const auto& r : files.NewEnum()) {
        seen += r->get_FilePath();
        files.Remove(1);
    }
    EXPECT_EQ(seen, L"123");
    EXPECT_EQ(files.Count(), 0);
}

}  // namespace
}  // namespace orv
