#include "tessera/clsBATesseraSettings.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <type_traits>
#include <vector>

#include "support/FakeTessera.h"

namespace orv::test {
namespace {

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

// A value unlike the initial one.
template <typename T>
T Changed() {
    if constexpr (std::is_same_v<T, std::wstring>) return L"changed";
    if constexpr (std::is_same_v<T, bool>) return true;
    if constexpr (std::is_same_v<T, int32_t>) return 77;
}

struct Field {
    std::wstring option;
    std::function<std::wstring(clsBATesseraSettings&)> change;  // gives the new value
    std::function<std::wstring(FakeTesseraApplication&)> inTessera;
};

#define ORV_TEST_FIELD(type, group, property, written)       \
    Field{                                                   \
        L## #group L"Options." L## #property,                \
        [](clsBATesseraSettings& s) {                        \
            s.put_Options##group##property(Changed<type>()); \
            return Show(s.get_Options##group##property());   \
        },                                                   \
        [](FakeTesseraApplication& a) { return Show(a.group##OptionsStore->get_##property()); }},
const std::vector<Field> kFields = {ORV_TESSERA_SETTINGS(ORV_TEST_FIELD)};
#undef ORV_TEST_FIELD

std::shared_ptr<FakeTesseraApplication> NewTessera() {
    return std::make_shared<FakeTesseraApplication>(FakeTesseraScript{},
                                                    std::make_shared<std::vector<std::string>>());
}

// One field set at a time, so that no two fields can swap their options unnoticed.
TEST(clsBATesseraSettings,
     WritesAll48OptionsInOrderOnceInitialisedEachFromItsOwnFieldButForcedThreeFalse) {
    const auto untouched = NewTessera();
    for (const auto& field : kFields) {
        SCOPED_TRACE(field.option);
        clsBATesseraSettings settings;
        const std::wstring value = field.change(settings);
        auto tessera = NewTessera();
        settings.ApplyToTessera(*tessera);
        EXPECT_TRUE(tessera->optionWrites.empty()) << "not marked initialised yet";
        settings.put_WasInitialised(true);
        settings.ApplyToTessera(*tessera);
        EXPECT_EQ(tessera->optionWrites, ExpectedWrites());
        for (const auto& other : kFields) {
            const bool carried = &other == &field && !kAlwaysFalse.count(other.option);
            EXPECT_EQ(other.inTessera(*tessera), carried ? value : other.inTessera(*untouched))
                << other.option;
        }
    }
}

}  // namespace
}  // namespace orv::test
