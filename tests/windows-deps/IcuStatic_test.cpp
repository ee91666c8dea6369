// ICU linked statically, its data included: break rules and the dictionaries are data, so a
// program without them gets no word break iterator at all, and cannot split Japanese.

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Utf8(const icu::UnicodeString& text) {
    std::string utf8;
    return text.toUTF8String(utf8);
}

std::vector<std::string> Words(const char* locale, const std::u16string& text) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::BreakIterator> words(
        icu::BreakIterator::createWordInstance(icu::Locale(locale), status));
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    if (U_FAILURE(status)) return {};
    const icu::UnicodeString unicode(text.data(), static_cast<int32_t>(text.size()));
    words->setText(unicode);
    std::vector<std::string> pieces;
    for (int32_t start = words->first(), end = words->next(); end != icu::BreakIterator::DONE;
         start = end, end = words->next())
        pieces.push_back(Utf8(unicode.tempSubStringBetween(start, end)));
    return pieces;
}

struct WordCase {
    const char* locale;
    std::u16string text;
    std::vector<std::string> words;
};

TEST(IcuStaticTest, WordBreaksFollowTheRulesAndDictionariesOfTheLinkedData) {
    const WordCase cases[] = {
        {"de", u"Die Straße ist schön.", {"Die", " ", "Straße", " ", "ist", " ", "schön", "."}},
        {"de", u"3,5 km bis zum Ziel", {"3,5", " ", "km", " ", "bis", " ", "zum", " ", "Ziel"}},
        {"ja", u"今日は良い天気です。", {"今日", "は", "良い", "天気", "です", "。"}},
    };
    for (const WordCase& c : cases) EXPECT_EQ(Words(c.locale, c.text), c.words) << c.locale;
}

TEST(IcuStaticTest, CaseMappingAndFoldingCoverMoreThanAscii) {
    EXPECT_EQ(u_toupper(U'é'), U'É');
    EXPECT_EQ(u_toupper(U'ж'), U'Ж');
    EXPECT_EQ(u_tolower(U'Σ'), U'σ');

    icu::UnicodeString street(u"Straße");
    EXPECT_EQ(Utf8(icu::UnicodeString(street).toUpper(icu::Locale("de"))), "STRASSE");
    EXPECT_EQ(Utf8(icu::UnicodeString(street).foldCase()), "strasse");
    EXPECT_EQ(Utf8(icu::UnicodeString(u"istanbul").toUpper(icu::Locale("tr"))), "İSTANBUL");
}

TEST(IcuStaticTest, LocaleNamesComeFromTheData) {
    icu::UnicodeString name;
    icu::Locale("de").getDisplayLanguage(icu::Locale("fr"), name);
    EXPECT_EQ(Utf8(name), "allemand");
    icu::Locale("ja").getDisplayLanguage(icu::Locale("de"), name);
    EXPECT_EQ(Utf8(name), "Japanisch");
}

}  // namespace
