#pragma once
// Tessera's seven option groups as the component writes them, each property a get/put pair
// in the group interface's slot order. One list per group feeds the abstract interfaces and
// the stored implementation below, so the two cannot drift apart.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

// X(type, property) in slot order.
// clang-format off
#define ORV_CONCORDANCE_OPTIONS(X)              \
    X(int32_t, MinimumMatchValue)               \
    X(int32_t, MaximumHits)                     \
    X(std::wstring, ReferenceTranslationMemory) \
    X(bool, SearchFirstInReferenceTM)           \
    X(bool, DisplayInformation)

#define ORV_GENERAL_OPTIONS(X)                \
    X(int32_t, MinimumMatchValue)             \
    X(int32_t, MaximumHits)                   \
    X(bool, DisplayTime)                      \
    X(bool, CopySourceOnNoMatch)              \
    X(bool, ShowProjectSettings)              \
    X(bool, InsertBlankAfterTag)              \
    X(int32_t, UpdateUsedTranslationUnits)    \
    X(int32_t, UpdateChangedTranslationUnits)

#define ORV_PENALTIES_OPTIONS(X)                        \
    X(int32_t, FormattingMismatchPenalty)               \
    X(int32_t, AttributeMismatchPenalty)                \
    X(int32_t, MultipleTranslationsPenalty)             \
    X(int32_t, PlaceableMismatchPenalty)                \
    X(int32_t, AlignmentPenalty)                        \
    X(int32_t, MachineTranslationPenalty)               \
    X(bool, ApplyPlaceablePenaltyOnSourceTagDifference)

#define ORV_SUBSTITUTION_LOCALISATION_OPTIONS(X) \
    X(bool, SubstituteDates)                     \
    X(bool, SubstituteTimes)                     \
    X(bool, SubstituteNumbers)                   \
    X(bool, SubstituteMeasurements)              \
    X(std::wstring, ShortDatePattern)            \
    X(std::wstring, LongDatePattern)             \
    X(std::wstring, TimePattern)                 \
    X(int32_t, MeasurementSystem)                \
    X(std::wstring, DecimalSeparator)            \
    X(std::wstring, GroupSeparator)

#define ORV_TERM_RECOGNITION_OPTIONS(X) \
    X(int32_t, MinimumMatchValue)       \
    X(int32_t, SearchDepth)             \
    X(bool, Enable)

#define ORV_TOOLS_OPTIONS(X)                 \
    X(bool, StripUnusedFonts)                \
    X(bool, StripUnusedStyles)               \
    X(bool, MultiSegmentFootnotes)           \
    X(bool, StripTesseraStyles)              \
    X(bool, KeepBackup)                      \
    X(std::wstring, HtmlSettingsFile)        \
    X(std::wstring, SgmlSettingsFile)        \
    X(bool, AlwaysAddNewTUWhenTargetsDiffer) \
    X(bool, UseSameLogFileForAllTMs)         \
    X(std::wstring, BackupPath)              \
    X(bool, MoveBackupFiles)                 \
    X(bool, SaveTesseraRTFAsKTX)

#define ORV_TRANSLATED_TEXT_COLOURS_OPTIONS(X) \
    X(int32_t, SourceColour)                   \
    X(int32_t, TargetColourExactMatch)         \
    X(int32_t, TargetColourFuzzyMatch)
// clang-format on

// X(group, list macro) for the seven groups, in the order the component applies them.
// clang-format off
#define ORV_OPTION_GROUPS(X)                                                  \
    X(ConcordanceOptions, ORV_CONCORDANCE_OPTIONS)                            \
    X(GeneralOptions, ORV_GENERAL_OPTIONS)                                    \
    X(PenaltiesOptions, ORV_PENALTIES_OPTIONS)                                \
    X(SubstitutionLocalisationOptions, ORV_SUBSTITUTION_LOCALISATION_OPTIONS) \
    X(TermRecognitionOptions, ORV_TERM_RECOGNITION_OPTIONS)                   \
    X(ToolsOptions, ORV_TOOLS_OPTIONS)                                        \
    X(TranslatedTextColoursOptions, ORV_TRANSLATED_TEXT_COLOURS_OPTIONS)
// clang-format on

namespace orv {

#define ORV_PURE_OPTION(type, name)      \
    virtual type get_##name() const = 0; \
    virtual void put_##name(type vData) = 0;

#define ORV_OPTION_INTERFACE(group, list)    \
    class Tessapp##group {                   \
    public:                                  \
        virtual ~Tessapp##group() = default; \
        list(ORV_PURE_OPTION)                \
    };
ORV_OPTION_GROUPS(ORV_OPTION_INTERFACE)
#undef ORV_OPTION_INTERFACE
#undef ORV_PURE_OPTION

// Called before every write with the group and property names; it may throw to refuse the
// write (the value is then not stored).
using OptionWriteHook = std::function<void(std::wstring_view group, std::wstring_view property)>;

// Option groups that keep what is written, for whatever stands in Tessera's place.
#define ORV_STORED_OPTION(type, name)            \
public:                                          \
    type get_##name() const override {           \
        return name##_;                          \
    }                                            \
    void put_##name(type vData) override {       \
        if (hook_) hook_(groupName_, L## #name); \
        name##_ = std::move(vData);              \
    }                                            \
                                                 \
private:                                         \
    type name##_{};

#define ORV_STORED_GROUP(group, list)                                                 \
    class Stored##group : public Tessapp##group {                                     \
    public:                                                                           \
        explicit Stored##group(OptionWriteHook hook = {}) : hook_(std::move(hook)) {} \
        list(ORV_STORED_OPTION) private                                               \
            : static constexpr std::wstring_view groupName_ = L## #group;             \
        OptionWriteHook hook_;                                                        \
    };
ORV_OPTION_GROUPS(ORV_STORED_GROUP)
#undef ORV_STORED_GROUP
#undef ORV_STORED_OPTION

}  // namespace orv
