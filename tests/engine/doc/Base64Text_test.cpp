#include "engine/doc/Base64Text.h"

#include <gtest/gtest.h>

#include <string>

namespace orv::engine {
namespace {

const std::string kLine =  // 76 characters, as MIME wraps them
    "TWFueSBoYW5kcyBtYWtlIGxpZ2h0IHdvcmsuIE1hbnkgaGFuZHMgbWFrZSBsaWdodCB3b3JrLiBN";

TEST(Base64TextTest, OnlyLongRunsOfTheBase64AlphabetAreBinaryData) {
    const struct {
        const char* name;
        std::string text;
        bool base64;
    } cases[] = {
        {"one line", kLine, true},
        {"wrapped and indented, with padding", "\n    " + kLine + "\n    " + kLine + "\n    YQ==\n",
         true},
        {"URL-safe", std::string(63, '-') + "_", true},
        {"too short to be told from a word", kLine.substr(0, 60), false},
        {"a sentence",
         "This is a sentence of running text that is longer than sixty-four "
         "characters.",
         false},
        {"a short line before the last", "abcd\n" + kLine, false},
        {"padding inside", kLine.substr(0, 32) + "==" + kLine.substr(32), false},
        {"three padding characters", kLine + "Y===", false},
        {"padded to no multiple of four", kLine + "YQ=", false},
        {"one character over", kLine + "Y", false},
        {"a character outside the alphabet", kLine + "Y.QQ", false},
        {"empty", "", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsBase64Text(c.text), c.base64) << c.name;
}

}  // namespace
}  // namespace orv::engine
