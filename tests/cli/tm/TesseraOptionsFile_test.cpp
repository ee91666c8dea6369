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
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;
using Settings = clsBATesseraSettings;

template <typename T>
struct Case {
    const char* text;
    T expected;
};

// Every field of the option set, from the set's own list, with a value unlike a new set's
// that differs from field to field.
struct Field {
    std::string group, property;
    std::string text;  // the value as a file writes it
    std::function<void(Settings&)> change;
    std::function<bool(const Settings&)> changed, isNew;  // holds that value, a new set's
};

template <typename T>
T ChangedValue(int index) {
    if constexpr (std::is_same_v<T, bool>) return true;
    if constexpr (std::is_same_v<T, int32_t>) return index % 2 ? -(index * 1000 + 7) : index + 1;
    if constexpr (std::is_same_v<T, std::wstring>)
        return L"text " + std::to_wstring(index) + L" ; # \u00fc";
}

template <typename T>
Field MakeField(const char* group, const char* property, const T& value,
                void (Settings::*put)(const T&), const T& (Settings::*get)() const) {
    std::string text;
    if constexpr (std::is_same_v<T, bool>) text = value ? "yes" : "no";
    if constexpr (std::is_same_v<T, int32_t>) text = std::to_string(value);
    if constexpr (std::is_same_v<T, std::wstring>) text = ToNarrow(value);
    return {group,
            property,
            text,
            [=](Settings& s) { (s.*put)(value); },
            [=](const Settings& s) { return (s.*get)() == value; },
            [=](const Settings& s) { return (s.*get)() == T{}; }};
}

std::vector<Field> AllFields() {
    std::vector<Field> fields;
    int index = 0;
#define ORV_TEST_FIELD(type, group, property, written)                               \
    fields.push_back(MakeField<type>(#group, #property, ChangedValue<type>(index++), \
                                     &Settings::put_Options##group##property,        \
                                     &Settings::get_Options##group##property));
    ORV_TESSERA_SETTINGS(ORV_TEST_FIELD)
#undef ORV_TEST_FIELD
    return fields;
}

Settings Read(const std::string& text, Settings settings = {}) {
    TempFolder folder;
    ReadTesseraOptionsFile(folder.Write("options.ini", text), settings);
    return settings;
}

// The message of the UsageError that reading `text` raises; the file must leave the set
// as it was.
std::string FaultOf(const std::string& text) {
    TempFolder folder;
    Settings settings;
    settings.put_OptionsGeneralMaximumHits(3);
    try {
        ReadTesseraOptionsFile(folder.Write("options.ini", text), settings);
    } catch (const UsageError& error) {
        EXPECT_EQ(settings.get_OptionsGeneralMaximumHits(), 3) << text;
        EXPECT_FALSE(settings.get_WasInitialised()) << text;
        EXPECT_THAT(error.what(), HasSubstr("options.ini:")) << "names the file and line";
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
        const Settings settings = Read(text);
        EXPECT_TRUE(settings.get_WasInitialised());
        for (const Field& field : fields)
            EXPECT_TRUE(field.changed(settings)) << field.group << field.property << "\n" << text;
    }
}

TEST(TesseraOptionsFile, TemplateNamesEveryFieldAndReadsBackAsANewSet) {
    const std::string text = TesseraOptionsTemplate();
    Settings changed;
    for (const Field& field : AllFields()) {
        EXPECT_THAT(text, HasSubstr("Options" + field.group + field.property)) << field.property;
        field.change(changed);
    }
    const Settings settings = Read(text, changed);
    EXPECT_TRUE(settings.get_WasInitialised());
    for (const Field& field : AllFields())
        EXPECT_TRUE(field.isNew(settings)) << field.group << field.property;
}

TEST(TesseraOptionsFile, LeavesFieldsTheFileDoesNotNameAsTheyWereAndMarksTheSetInitialised) {
    Settings kept;
    kept.put_OptionsToolsBackupPath(L"/keep");
    for (const char* text : {"", "; nothing but a comment\n", "[General]\nMaximumHits = 9\n"}) {
        const Settings settings = Read(text, kept);
        EXPECT_EQ(settings.get_OptionsToolsBackupPath(), L"/keep") << text;
        EXPECT_TRUE(settings.get_WasInitialised()) << text;
    }
}

TEST(TesseraOptionsFile, TakesEveryBooleanSpellingInAnyCaseAndNumbersInDecimalOrHex) {
    const Case<bool> booleans[] = {{"true", true}, {"TRUE", true},   {"Yes", true}, {"on", true},
                                   {"1", true},    {"false", false}, {"no", false}, {"OFF", false},
                                   {"0", false},   {"False", false}};
    for (const auto& c : booleans) {
        const Settings settings = Read(std::string("[Tools]\nKeepBackup = ") + c.text);
        EXPECT_EQ(settings.get_OptionsToolsKeepBackup(), c.expected) << c.text;
    }
    const Case<int32_t> numbers[] = {{"0x0000FF", 255},
                                     {"0XfF", 255},
                                     {"-5", -5},
                                     {"+7", 7},
                                     {"2147483647", 2147483647},
                                     {"-2147483648", -2147483647 - 1}};
    for (const auto& c : numbers) {
        const Settings settings =
            Read(std::string("[TranslatedTextColours]\nSourceColour = ") + c.text);
        EXPECT_EQ(settings.get_OptionsTranslatedTextColoursSourceColour(), c.expected) << c.text;
    }
}

TEST(TesseraOptionsFile, KeepsTextAsWrittenAndQuotesOnlyToKeepOuterSpaces) {
    const Case<const wchar_t*> cases[] = {
        {"\" \"", L" "},
        {"\"\"", L""},
        {"", L""},
        {"  C:\\Backups;old # not a comment  ", L"C:\\Backups;old # not a comment"},
        {"\" padded \"", L" padded "},
        {"\"", L"\""},
        {"say \"hi\"", L"say \"hi\""},
        {"a = b", L"a = b"},
        {"gr\xc3\xbc\xc3\x9f", L"gr\u00fc\u00df"}};
    for (const auto& c : cases) {
        const Settings settings = Read(std::string("[Tools]\nBackupPath =") + c.text);
        EXPECT_EQ(settings.get_OptionsToolsBackupPath(), c.expected) << c.text;
    }
}

TEST(TesseraOptionsFile, IgnoresCommentsBlankLinesLineEndsAndAByteOrderMark) {
    const Settings settings = Read(
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

TEST(TesseraOptionsFile, RefusesABadLineNamingTheLineAndWhatIsWrongWithIt) {
    const Case<const char*> cases[] = {
        // An unknown name, with the closest known ones.
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
        // A bad value, with the option and its type.
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
        // A malformed line, and an option given twice.
        {"[General\n", ":1: a section name must end with \"]\""},
        {"[General]\nMaximumHits 5", ":2: expected NAME = VALUE"},
        {"= 5", ":1: a line starts with \"=\""},
        {"[General]\nMaximumHits = 1\n[Concordance]\n[general]\nmaximumhits = 2",
         ":5: OptionsGeneralMaximumHits is given a second time (first on line 2)"},
        // A good line before the fault must not have reached the caller's set either.
        {"OptionsGeneralMaximumHits = 8\nnonsense", ":2: expected NAME = VALUE"},
    };
    for (const auto& c : cases) EXPECT_THAT(FaultOf(c.text), HasSubstr(c.expected));
}

TEST(TesseraOptionsFile, RefusesAFileItCannotReadNamingIt) {
    TempFolder folder;
    Settings settings;
    const auto large = folder.Write("large.ini", std::string((1 << 20) + 1, ';'));
    for (const auto& path : {folder.path() / "missing.ini", folder.path(), large}) {
        EXPECT_THAT(
            [&] { ReadTesseraOptionsFile(path, settings); },
            ThrowsMessage<UsageError>(HasSubstr("cannot read the options file " + path.string())));
    }
    EXPECT_FALSE(settings.get_WasInitialised());
}

}  // namespace
}  // namespace orv::cli
