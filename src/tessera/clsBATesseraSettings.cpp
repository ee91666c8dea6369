#include "tessera/clsBATesseraSettings.h"

namespace orv {

// The value a write takes: the field, or False for the three options the component always
// switches off.
#define ORV_WRITTEN_Field(group, property) Options##group##property##_
#define ORV_WRITTEN_AlwaysFalse(group, property) false

#define ORV_APPLY_ONE(type, group, property, written) \
    application.get_##group##Options()->put_##property(ORV_WRITTEN_##written(group, property));

void clsBATesseraSettings::ApplyConcordanceOptions(TessappApplication& application) const {
    ORV_SETTINGS_CONCORDANCE(ORV_APPLY_ONE)
}
void clsBATesseraSettings::ApplyGeneralOptions(TessappApplication& application) const {
    ORV_SETTINGS_GENERAL(ORV_APPLY_ONE)
}
void clsBATesseraSettings::ApplyPenaltiesOptions(TessappApplication& application) const {
    ORV_SETTINGS_PENALTIES(ORV_APPLY_ONE)
}
void clsBATesseraSettings::ApplySubstitutionLocalisationOptions(
    TessappApplication& application) const {
    ORV_SETTINGS_SUBSTITUTION_LOCALISATION(ORV_APPLY_ONE)
}
void clsBATesseraSettings::ApplyTermRecognitionOptions(TessappApplication& application) const {
    ORV_SETTINGS_TERM_RECOGNITION(ORV_APPLY_ONE)
}
void clsBATesseraSettings::ApplyToolsOptions(TessappApplication& application) const {
    ORV_SETTINGS_TOOLS(ORV_APPLY_ONE)
}
void clsBATesseraSettings::ApplyTranslatedTextColoursOptions(
    TessappApplication& application) const {
    ORV_SETTINGS_TRANSLATED_TEXT_COLOURS(ORV_APPLY_ONE)
}

#undef ORV_APPLY_ONE
#undef ORV_WRITTEN_AlwaysFalse
#undef ORV_WRITTEN_Field

void clsBATesseraSettings::ApplyToTessera(TessappApplication& application) const {
    if (!WasInitialised_) return;
    ApplyConcordanceOptions(application);
    ApplyGeneralOptions(application);
    ApplyPenaltiesOptions(application);
    ApplySubstitutionLocalisationOptions(application);
    ApplyTermRecognitionOptions(application);
    ApplyToolsOptions(application);
    ApplyTranslatedTextColoursOptions(application);
}

}  // namespace orv
