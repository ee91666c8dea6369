#include "cli/tm/TesseraOptionsFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <type_traits>
#include <vector>

#include "cli/tm/UsageError.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::cli {
namespace {

using orv::test::TempFolder;
using ::testing::AllOf;
using ::testing::HasSubstr;

// Every field of the option set, from the set's own list, with a value unlike a new set's
// that differs from field to field.
struct Field {
    std::string group;
    std::string property;
    std::string text;  // the value as a file writes it
    std::function<void(clsBATesseraSettings&)> change;
    std::function<bool(const clsBATesseraSettings&)> changed;
    std::function<bool(const clsBATesseraSettings&)> isNew;  // holds a new set's value
};

template <typename T>
T ChangedValue(int index) {
    if constexpr (std::is_same_v<T, bool>) return true;
    if constexpr (std::is_same_v<T, int32_t>) return index % 2 ? -(index * 1000 + 7) : index + 1;
    if constexpr (std::is_same_v<T, std::wstring>)
        return L"text " + std::to_wstring(index) + L" ; # \u00fc";
}

template <typename T>
std::string InFile(const T& value) {
    if constexpr (std::is_same_v<T, bool>) return value ? "yes" : "no";
    if constexpr (std::is_same_v<T, int32_t>) return std::to_string(value);
    if constexpr (std::is_same_v<T, std::wstring>) return ToNarrow(value);
}

std::vector<Field> AllFields() {
    std::vector<Field> fields;
    int index = 0;
#define ORV_TEST_FIELD(type, group, property, written)                                         \
    {                                                                                          \
        const type value = ChangedValue<type>(index++);                                        \
        fields.push_back(                                                                      \
            Field{#group, #property, InFile(value),                                            \
                  [value](clsBATesseraSettings& s) { s.put_Options##group##property(value); }, \
                  [value](const clsBATesseraSettings& s) {                                     \
                      return s.get_Options##group##property() == value;                        \
                  },                                                                           \
                  [](const clsBATesseraSettings& s) {                                          \
                      return s.get_Options##group##property() == type{};                       \
                  }});                                                                         \
    }
    ORV_TESSERA_SETTINGS(ORV_TEST_FIELD)
#undef ORV_TEST_FIELD
    return fields;
}

clsBATesseraSettings Read(const std::string& text) {
    TempFolder folder;
    clsBATesseraSettings settings;
    ReadTesseraOptionsFile(folder.Write("options.ini", text), settings);
    return settings;
}

// The message of the UsageError that reading `text` raises; the file must leave the set
// as it was.
std::string FaultOf(const std::string& text) {
    TempFolder folder;
    clsBATesseraSettings settings;
    settings.put_OptionsGeneralMaximumHits(3);
    try {
        ReadTesseraOptionsFile(folder.Write("options.ini", text), settings);
    } catch (const UsageError& error) {
        EXPECT_EQ(settings.get_OptionsGeneralMaximumHits(), 3) << text;
        EXPECT_FALSE(settings.get_WasInitialised()) << text;
        return error.what();
    }
    ADD_FAILURE() << "no fault in:\n" << text;
    return {};
}

TEST(TesseraOptionsFile, SetsEveryFieldByFullNameOrByShortNameInItsSection) {
    const std::vector<Field> fields = AllFields();
    ASSERT_EQ(fields.size(), 48u);
    std::string flat, sectioned, group;
    for (const Field& field : fields) {
        flat += "Options" + field.group + field.property + " = " + field.text + "\n";
        if (field.group != group) sectioned += "[" + (group = field.group) + "]\n";
        sectioned += field.property + "=" + field.text + "\n";
    }
    for (const std::string& text : {flat, sectioned}) {
        const clsBATesseraSettings settings = Read(text);
        EXPECT_TRUE(settings.get_WasInitialised());
        for (const Field& field : fields)
            EXPECT_TRUE(field.changed(settings)) << field.group << field.property << "\n" << text;
    }
}

TEST(TesseraOptionsFile, TemplateNamesEveryFieldAndReadsBackAsANewSet) {
    const std::string text = TesseraOptionsTemplate();
    clsBATesseraSettings settings;
    for (const Field& field : AllFields()) {
        EXPECT_THAT(text, HasSubstr("Options" + field.group + field.property)) << field.property;
        field.change(settings);
    }
    TempFolder folder;
    ReadTesseraOptionsFile(folder.Write("template.ini", text), settings);
    EXPECT_TRUE(settings.get_WasInitialised());
    for (const Field& field : AllFields())
        EXPECT_TRUE(field.isNew(settings)) << field.group << field.property;
}

TEST(TesseraOptionsFile, LeavesFieldsTheFileDoesNotNameAsTheyWere) {
    TempFolder folder;
    clsBATesseraSettings settings;
    settings.put_OptionsToolsBackupPath(L"/keep");
    ReadTesseraOptionsFile(folder.Write("o.ini", "[General]\nMaximumHits = 9\n"), settings);
    EXPECT_EQ(settings.get_OptionsToolsBackupPath(), L"/keep");
    EXPECT_EQ(settings.get_OptionsGeneralMaximumHits(), 9);
    EXPECT_TRUE(settings.get_WasInitialised());
}

TEST(TesseraOptionsFile, AnEmptyFileStillMarksTheSetInitialised) {
    EXPECT_TRUE(Read("").get_WasInitialised());
    EXPECT_TRUE(Read("; nothing but a comment\n").get_WasInitialised());
}

TEST(TesseraOptionsFile, TakesEveryBooleanSpellingInAnyCase) {
    const struct {
        const char* text;
        bool value;
    } cases[] = {{"true", true},   {"TRUE", true}, {"Yes", true},  {"on", true}, {"1", true},
                 {"false", false}, {"no", false},  {"OFF", false}, {"0", false}, {"False", false}};
    for (const auto& c : cases) {
        clsBATesseraSettings settings = Read(std::string("[Tools]\nKeepBackup = ") + c.text);
        EXPECT_EQ(settings.get_OptionsToolsKeepBackup(), c.value) << c.text;
    }
}

TEST(TesseraOptionsFile, TakesNumbersInDecimalOrHexWithinTheirRange) {
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {{"0x0000FF", 255},
                 {"0XfF", 255},
                 {"-5", -5},
                 {"+7", 7},
                 {"2147483647", 2147483647},
                 {"-2147483648", -2147483647 - 1}};
    for (const auto& c : cases) {
        clsBATesseraSettings settings =
            Read(std::string("[TranslatedTextColours]\n") + "SourceColour = " + c.text);
        EXPECT_EQ(settings.get_OptionsTranslatedTextColoursSourceColour(), c.value) << c.text;
    }
}

TEST(TesseraOptionsFile, KeepsTextAsWrittenAndQuotesOnlyToKeepOuterSpaces) {
    const struct {
        const char* text;
        const wchar_t* value;
    } cases[] = {{"\" \"", L" "},
                 {"\"\"", L""},
                 {"", L""},
                 {"  C:\\Backups;old # not a comment  ", L"C:\\Backups;old # not a comment"},
                 {"\" padded \"", L" padded "},
                 {"\"", L"\""},
                 {"say \"hi\"", L"say \"hi\""},
                 {"a = b", L"a = b"},
                 {"gr\xc3\xbc\xc3\x9f", L"gr\u00fc\u00df"}};
    for (const auto& c : cases) {
        clsBATesseraSettings settings = Read(std::string("[Tools]\nBackupPath =") + c.text);
        EXPECT_EQ(settings.get_OptionsToolsBackupPath(), c.value) << c.text;
    }
}

TEST(TesseraOptionsFile, IgnoresCommentsBlankLinesLineEndsAndAByteOrderMark) {
    const clsBATesseraSettings settings = Read(
        "\xEF\xBB\xBF; comment\r\n"
        "# another\r\n"
        "\r\n"
        "   ; indented comment\r\n"
        "[ general ]\r\n"
        "\tmaximumhits\t=\t12\t\r\n"
        "[TOOLSOPTIONS]\n"
        "optionstoolsbackuppath = /b\n");
    EXPECT_EQ(settings.get_OptionsGeneralMaximumHits(), 12);
    EXPECT_EQ(settings.get_OptionsToolsBackupPath(), L"/b");
}

TEST(TesseraOptionsFile, NamesTheLineAndTheClosestNameForAnUnknownKeyOrSection) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"\n\nOptionsGeneralMaximumHit = 5",
         ":3: unknown option \"OptionsGeneralMaximumHit\"; did you mean "
         "\"OptionsGeneralMaximumHits\"?"},
        {"[General]\nMinimumMatchValu = 5",
         ":2: unknown option \"MinimumMatchValu\"; did you mean \"MinimumMatchValue\"?"},
        {"MaximumHits = 5",
         ":1: unknown option \"MaximumHits\" outside a section; did you mean "
         "\"OptionsConcordanceMaximumHits\" or \"OptionsGeneralMaximumHits\"?"},
        {"[Tools]\nMaximumHits = 5",
         ":2: unknown option \"MaximumHits\" in [Tools]; did you mean "
         "\"OptionsConcordanceMaximumHits\" or \"OptionsGeneralMaximumHits\"?"},
        {"[Generall]\n", ":1: unknown section [Generall]; did you mean [General]?"},
        {"[General]\nmaxhits = 5", ":2: unknown option \"maxhits\"; did you mean \"MaximumHits\"?"},
        {"zzz = 1", ":1: unknown option \"zzz\"; orvbatch options-template lists them all"},
        {"[Foo]",
         ":1: unknown section [Foo]; the sections are [Concordance], [General], "
         "[Penalties], [SubstitutionLocalisation], [TermRecognition], [Tools], "
         "[TranslatedTextColours]"},
        {"[Tools]\nOptionsGeneralMaximumHits = 5",
         ":2: OptionsGeneralMaximumHits belongs in section [General], not [Tools]"},
        {"WasInitialised = true", ":1: WasInitialised is no option"},
    };
    for (const auto& c : cases) {
        EXPECT_THAT(FaultOf(c.text), AllOf(HasSubstr("options.ini:"), HasSubstr(c.message)));
    }
}

TEST(TesseraOptionsFile, NamesTheLineTheOptionAndTheTypeForABadValue) {
    const struct {
        const char* line;
        const char* message;
    } cases[] = {
        {"[Tools]\nKeepBackup = 2",
         ":2: bad value \"2\" for OptionsToolsKeepBackup: expected true or false"},
        {"[Tools]\nKeepBackup =", ":2: bad value \"\" for OptionsToolsKeepBackup"},
        {"[Tools]\nKeepBackup = yes please", "bad value \"yes please\""},
        {"OptionsGeneralMaximumHits = 2147483648",
         ":1: bad value \"2147483648\" for OptionsGeneralMaximumHits: expected a whole number"},
        {"OptionsGeneralMaximumHits = 1.5", "bad value \"1.5\""},
        {"OptionsGeneralMaximumHits = 5 ; five", "bad value \"5 ; five\""},
        {"OptionsGeneralMaximumHits = 0x", "bad value \"0x\""},
        {"OptionsGeneralMaximumHits = --5", "bad value \"--5\""},
        {"OptionsGeneralMaximumHits = 0x-5", "bad value \"0x-5\""},
        {"OptionsGeneralMaximumHits =", "bad value \"\""},
    };
    for (const auto& c : cases) EXPECT_THAT(FaultOf(c.line), HasSubstr(c.message));
}

TEST(TesseraOptionsFile, RefusesMalformedLinesAndAnOptionGivenTwice) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"[General\n", ":1: a section name must end with \"]\""},
        {"[General]\nMaximumHits 5", ":2: expected NAME = VALUE"},
        {"= 5", ":1: a line starts with \"=\""},
        {"[General]\nMaximumHits = 1\n[Concordance]\n[general]\nmaximumhits = 2",
         ":5: OptionsGeneralMaximumHits is given a second time (first on line 2)"},
        // A good line before the fault must not have reached the caller's set either.
        {"OptionsGeneralMaximumHits = 8\nnonsense", ":2: expected NAME = VALUE"},
    };
    for (const auto& c : cases) EXPECT_THAT(FaultOf(c.text), HasSubstr(c.message));
}

TEST(TesseraOptionsFile, RefusesAFileItCannotReadNamingIt) {
    TempFolder folder;
    clsBATesseraSettings settings;
    const auto large = folder.Write("large.ini", std::string((1 << 20) + 1, ';'));
    for (const auto& path : {folder.path() / "missing.ini", folder.path(), large}) {
        try {
            ReadTesseraOptionsFile(path, settings);
            ADD_FAILURE() << path;
        } catch (const UsageError& error) {
            EXPECT_THAT(error.what(), HasSubstr("cannot read the options file " + path.string()));
        }
    }
    EXPECT_FALSE(settings.get_WasInitialised());
}

}  // namespace
}  // namespace orv::cli
