#include "tessera/clsBATesseraSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/AutomationError.h"
#include "support/FakeTessera.h"

namespace orv {
namespace {

using test::FakeTesseraApplication;

// Every write, in the order Tessera must receive them: group, then its properties.
std::vector<std::wstring> ExpectedWrites() {
    const wchar_t* const groups[][2] = {
        {L"ConcordanceOptions",
         L"DisplayInformation MaximumHits MinimumMatchValue SearchFirstInReferenceTM "
         L"ReferenceTranslationMemory"},
        {L"GeneralOptions",
         L"CopySourceOnNoMatch DisplayTime InsertBlankAfterTag MaximumHits MinimumMatchValue "
         L"ShowProjectSettings UpdateChangedTranslationUnits UpdateUsedTranslationUnits"},
        {L"PenaltiesOptions",
         L"AlignmentPenalty ApplyPlaceablePenaltyOnSourceTagDifference AttributeMismatchPenalty "
         L"FormattingMismatchPenalty MachineTranslationPenalty MultipleTranslationsPenalty "
         L"PlaceableMismatchPenalty"},
        {L"SubstitutionLocalisationOptions",
         L"DecimalSeparator GroupSeparator LongDatePattern MeasurementSystem ShortDatePattern "
         L"SubstituteDates SubstituteMeasurements SubstituteNumbers SubstituteTimes TimePattern"},
        {L"TermRecognitionOptions", L"Enable MinimumMatchValue SearchDepth"},
        {L"ToolsOptions",
         L"AlwaysAddNewTUWhenTargetsDiffer BackupPath HtmlSettingsFile KeepBackup MoveBackupFiles "
         L"MultiSegmentFootnotes SaveTesseraRTFAsKTX SgmlSettingsFile StripUnusedFonts "
         L"StripUnusedStyles StripTesseraStyles UseSameLogFileForAllTMs"},
        {L"TranslatedTextColoursOptions",
         L"SourceColour TargetColourExactMatch TargetColourFuzzyMatch"},
    };
    std::vector<std::wstring> writes;
    for (const auto& [group, properties] : groups) {
        std::wistringstream names(properties);
        for (std::wstring name; names >> name;) writes.push_back(std::wstring(group) + L"." + name);
    }
    return writes;
}

const std::set<std::wstring> kAlwaysFalse = {L"TermRecognitionOptions.Enable",
                                             L"ToolsOptions.SaveTesseraRTFAsKTX",
                                             L"ToolsOptions.UseSameLogFileForAllTMs"};

// Values of every type as text, so that one table holds all fields.
template <typename T>
std::wstring Show(const T& value) {
    if constexpr (std::is_same_v<T, std::wstring>) return L"'" + value + L"'";
    if constexpr (std::is_same_v<T, bool>) return value ? L"True" : L"False";
    if constexpr (std::is_same_v<T, int32_t>) return std::to_wstring(value);
}

// A value unlike the initial one (and, but for Booleans, unlike that of any other field).
template <typename T>
T Distinct(int k) {
    if constexpr (std::is_same_v<T, std::wstring>) return L"value" + std::to_wstring(k);
    if constexpr (std::is_same_v<T, bool>) return true;
    if constexpr (std::is_same_v<T, int32_t>) return 100 + k;
}

struct Field {
    std::wstring option;
    std::function<void(clsBATesseraSettings&, int)> setDistinct;
    std::function<std::wstring(const clsBATesseraSettings&)> field;
    std::function<std::wstring(FakeTesseraApplication&)> inTessera;
    std::wstring initial;
};

#define ORV_TEST_FIELD(type, group, property, written)                                             \
    Field{                                                                                         \
        L## #group L"Options." L## #property,                                                      \
        [](clsBATesseraSettings& s, int k) { s.put_Options##group##property(Distinct<type>(k)); }, \
        [](const clsBATesseraSettings& s) { return Show(s.get_Options##group##property()); },      \
        [](FakeTesseraApplication& a) { return Show(a.group##OptionsStore->get_##property()); },   \
        Show(type{})},
const std::vector<Field> kFields = {ORV_TESSERA_SETTINGS(ORV_TEST_FIELD)};
#undef ORV_TEST_FIELD

std::shared_ptr<FakeTesseraApplication> NewTessera(test::FakeTesseraScript script = {}) {
    return std::make_shared<FakeTesseraApplication>(std::move(script),
                                                    std::make_shared<std::vector<std::string>>());
}

clsBATesseraSettings InitialisedWithAllDistinct() {
    clsBATesseraSettings settings;
    settings.put_WasInitialised(true);
    for (int k = 0; k < static_cast<int>(kFields.size()); ++k) kFields[k].setDistinct(settings, k);
    return settings;
}

TEST(clsBATesseraSettings, WritesNothingUntilMarkedInitialised) {
    auto tessera = NewTessera();
    clsBATesseraSettings settings = InitialisedWithAllDistinct();
    settings.put_WasInitialised(false);
    settings.ApplyToTessera(*tessera);
    clsBATesseraSettings().ApplyToTessera(*tessera);
    EXPECT_TRUE(tessera->optionWrites.empty());
}

TEST(clsBATesseraSettings, AnUntouchedInitialisedSetWritesAll48OptionsInOrderAsFalseZeroOrEmpty) {
    auto tessera = NewTessera();
    clsBATesseraSettings settings;
    settings.put_WasInitialised(true);
    settings.ApplyToTessera(*tessera);
    EXPECT_EQ(tessera->optionWrites, ExpectedWrites());
    std::vector<std::wstring> fieldOrder;
    for (const auto& field : kFields) fieldOrder.push_back(field.option);
    ASSERT_EQ(fieldOrder, ExpectedWrites());
    for (const auto& field : kFields)
        EXPECT_EQ(field.inTessera(*tessera), field.initial) << field.option;
}

// Also: the three forced options stay off, while their fields keep what was put.
TEST(clsBATesseraSettings, EachFieldReachesItsOwnOptionAndNoOther) {
    for (int k = 0; k < static_cast<int>(kFields.size()); ++k) {
        SCOPED_TRACE(kFields[k].option);
        clsBATesseraSettings settings;
        settings.put_WasInitialised(true);
        kFields[k].setDistinct(settings, k);
        EXPECT_NE(kFields[k].field(settings), kFields[k].initial);
        auto tessera = NewTessera();
        settings.ApplyToTessera(*tessera);
        for (int j = 0; j < static_cast<int>(kFields.size()); ++j) {
            const bool carried = j == k && !kAlwaysFalse.count(kFields[j].option);
            EXPECT_EQ(kFields[j].inTessera(*tessera),
                      carried ? kFields[j].field(settings) : kFields[j].initial)
                << kFields[j].option;
        }
    }
}

// Notes, for every group object fetched, how many writes had been made before.
class FetchCountingTessera : public FakeTesseraApplication {
public:
    FetchCountingTessera()
        : FakeTesseraApplication({}, std::make_shared<std::vector<std::string>>()) {}
    std::vector<std::pair<std::wstring, std::size_t>> fetches;
#define ORV_COUNTING_GETTER(group, list)                       \
    std::shared_ptr<Tessapp##group> get_##group() override {   \
        fetches.emplace_back(L## #group, optionWrites.size()); \
        return FakeTesseraApplication::get_##group();          \
    }
    ORV_OPTION_GROUPS(ORV_COUNTING_GETTER)
#undef ORV_COUNTING_GETTER
};

TEST(clsBATesseraSettings, FetchesTheGroupObjectAfreshForEveryWrite) {
    FetchCountingTessera tessera;
    clsBATesseraSettings settings;
    settings.put_WasInitialised(true);
    settings.ApplyToTessera(tessera);
    const auto writes = ExpectedWrites();
    ASSERT_EQ(tessera.fetches.size(), writes.size());
    for (std::size_t i = 0; i < writes.size(); ++i) {
        EXPECT_EQ(tessera.fetches[i].first, writes[i].substr(0, writes[i].find(L'.')));
        EXPECT_EQ(tessera.fetches[i].second, i) << writes[i];
    }
}

TEST(clsBATesseraSettings, ARefusedWriteEndsTheApplyWithItsErrorAndKeepsTheEarlierWrites) {
    const auto writes = ExpectedWrites();
    for (std::size_t refused : {std::size_t{0}, std::size_t{13}, writes.size() - 1}) {
        SCOPED_TRACE(writes[refused]);
        test::FakeTesseraScript script;
        script.refusedOptionWrite = writes[refused];
        auto tessera = NewTessera(script);
        const clsBATesseraSettings settings = InitialisedWithAllDistinct();
        try {
            settings.ApplyToTessera(*tessera);
            ADD_FAILURE() << "no error";
        } catch (const AutomationError& error) {
            EXPECT_EQ(error.number(), 50100);
            EXPECT_EQ(error.source(), L"Tessera");
            EXPECT_EQ(error.description(), L"Option refused: " + writes[refused]);
        }
        EXPECT_EQ(tessera->optionWrites,
                  std::vector<std::wstring>(writes.begin(), writes.begin() + refused));
        for (std::size_t j = 0; j < kFields.size(); ++j) {
            const bool carried = j < refused && !kAlwaysFalse.count(kFields[j].option);
            EXPECT_EQ(kFields[j].inTessera(*tessera),
                      carried ? kFields[j].field(settings) : kFields[j].initial)
                << kFields[j].option;
        }
    }
}

}  // namespace
}  // namespace orv
