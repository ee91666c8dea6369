#pragma once
// The option values a client wants in Tessera for its analysis, and the flag that says it
// filled them. When the flag is set, every option is written into Tessera before the job
// runs, untouched ones included; three of them are always written as False.

#include <cstdint>
#include <string>

#include "tessera/TessappApplication.h"

// X(type, group, property, writtenValue) for the fields of one group, in field order. The
// field is Options<group><property>; it is written to <group>Options.<property>.
// writtenValue is `Field` (the field's value) or `AlwaysFalse`.
#define ORV_SETTINGS_CONCORDANCE(X)                       \
    X(bool, Concordance, DisplayInformation, Field)       \
    X(int32_t, Concordance, MaximumHits, Field)           \
    X(int32_t, Concordance, MinimumMatchValue, Field)     \
    X(bool, Concordance, SearchFirstInReferenceTM, Field) \
    X(std::wstring, Concordance, ReferenceTranslationMemory, Field)
#define ORV_SETTINGS_GENERAL(X)                               \
    X(bool, General, CopySourceOnNoMatch, Field)              \
    X(bool, General, DisplayTime, Field)                      \
    X(bool, General, InsertBlankAfterTag, Field)              \
    X(int32_t, General, MaximumHits, Field)                   \
    X(int32_t, General, MinimumMatchValue, Field)             \
    X(bool, General, ShowProjectSettings, Field)              \
    X(int32_t, General, UpdateChangedTranslationUnits, Field) \
    X(int32_t, General, UpdateUsedTranslationUnits, Field)
#define ORV_SETTINGS_PENALTIES(X)                                         \
    X(int32_t, Penalties, AlignmentPenalty, Field)                        \
    X(bool, Penalties, ApplyPlaceablePenaltyOnSourceTagDifference, Field) \
    X(int32_t, Penalties, AttributeMismatchPenalty, Field)                \
    X(int32_t, Penalties, FormattingMismatchPenalty, Field)               \
    X(int32_t, Penalties, MachineTranslationPenalty, Field)               \
    X(int32_t, Penalties, MultipleTranslationsPenalty, Field)             \
    X(int32_t, Penalties, PlaceableMismatchPenalty, Field)
#define ORV_SETTINGS_SUBSTITUTION_LOCALISATION(X)                      \
    X(std::wstring, SubstitutionLocalisation, DecimalSeparator, Field) \
    X(std::wstring, SubstitutionLocalisation, GroupSeparator, Field)   \
    X(std::wstring, SubstitutionLocalisation, LongDatePattern, Field)  \
    X(int32_t, SubstitutionLocalisation, MeasurementSystem, Field)     \
    X(std::wstring, SubstitutionLocalisation, ShortDatePattern, Field) \
    X(bool, SubstitutionLocalisation, SubstituteDates, Field)          \
    X(bool, SubstitutionLocalisation, SubstituteMeasurements, Field)   \
    X(bool, SubstitutionLocalisation, SubstituteNumbers, Field)        \
    X(bool, SubstitutionLocalisation, SubstituteTimes, Field)          \
    X(std::wstring, SubstitutionLocalisation, TimePattern, Field)
#define ORV_SETTINGS_TERM_RECOGNITION(X)                  \
    X(bool, TermRecognition, Enable, AlwaysFalse)         \
    X(int32_t, TermRecognition, MinimumMatchValue, Field) \
    X(int32_t, TermRecognition, SearchDepth, Field)
#define ORV_SETTINGS_TOOLS(X)                              \
    X(bool, Tools, AlwaysAddNewTUWhenTargetsDiffer, Field) \
    X(std::wstring, Tools, BackupPath, Field)              \
    X(std::wstring, Tools, HtmlSettingsFile, Field)        \
    X(bool, Tools, KeepBackup, Field)                      \
    X(bool, Tools, MoveBackupFiles, Field)                 \
    X(bool, Tools, MultiSegmentFootnotes, Field)           \
    X(bool, Tools, SaveTesseraRTFAsKTX, AlwaysFalse)       \
    X(std::wstring, Tools, SgmlSettingsFile, Field)        \
    X(bool, Tools, StripUnusedFonts, Field)                \
    X(bool, Tools, StripUnusedStyles, Field)               \
    X(bool, Tools, StripTesseraStyles, Field)              \
    X(bool, Tools, UseSameLogFileForAllTMs, AlwaysFalse)
#define ORV_SETTINGS_TRANSLATED_TEXT_COLOURS(X)                      \
    X(int32_t, TranslatedTextColours, SourceColour, Field)           \
    X(int32_t, TranslatedTextColours, TargetColourExactMatch, Field) \
    X(int32_t, TranslatedTextColours, TargetColourFuzzyMatch, Field)

// All 48 option fields in field order (the order of the automation interface).
// clang-format off
#define ORV_TESSERA_SETTINGS(X)               \
    ORV_SETTINGS_CONCORDANCE(X)               \
    ORV_SETTINGS_GENERAL(X)                   \
    ORV_SETTINGS_PENALTIES(X)                 \
    ORV_SETTINGS_SUBSTITUTION_LOCALISATION(X) \
    ORV_SETTINGS_TERM_RECOGNITION(X)          \
    ORV_SETTINGS_TOOLS(X)                     \
    ORV_SETTINGS_TRANSLATED_TEXT_COLOURS(X)
// clang-format on

namespace orv {

class clsBATesseraSettings {
public:
    bool get_WasInitialised() const { return WasInitialised_; }
    void put_WasInitialised(bool vData) { WasInitialised_ = vData; }

#define ORV_SETTINGS_ACCESSORS(type, group, property, written) \
    const type& get_Options##group##property() const {         \
        return Options##group##property##_;                    \
    }                                                          \
    void put_Options##group##property(const type& vData) {     \
        Options##group##property##_ = vData;                   \
    }
    ORV_TESSERA_SETTINGS(ORV_SETTINGS_ACCESSORS)
#undef ORV_SETTINGS_ACCESSORS

    // Writes every option into the application when WasInitialised is set, group by group
    // in field order, fetching the group object afresh for each write. Catches nothing: the
    // first refused write ends the apply and its error reaches the caller unchanged.
    void ApplyToTessera(TessappApplication& application) const;

private:
    void ApplyConcordanceOptions(TessappApplication& application) const;
    void ApplyGeneralOptions(TessappApplication& application) const;
    void ApplyPenaltiesOptions(TessappApplication& application) const;
    void ApplySubstitutionLocalisationOptions(TessappApplication& application) const;
    void ApplyTermRecognitionOptions(TessappApplication& application) const;
    void ApplyToolsOptions(TessappApplication& application) const;
    void ApplyTranslatedTextColoursOptions(TessappApplication& application) const;

    bool WasInitialised_ = false;
#define ORV_SETTINGS_FIELD(type, group, property, written) type Options##group##property##_{};
    ORV_TESSERA_SETTINGS(ORV_SETTINGS_FIELD)
#undef ORV_SETTINGS_FIELD
};

}  // namespace orv
