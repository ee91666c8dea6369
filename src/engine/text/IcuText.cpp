#include "engine/text/IcuText.h"

#include <unicode/normalizer2.h>

namespace orv::engine {

icu::UnicodeString ToNfc(icu::UnicodeString text) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status)) return text;  // no normalisation data: compare as written
    if (nfc->quickCheck(text, status) == UNORM_YES && U_SUCCESS(status)) return text;
    status = U_ZERO_ERROR;
    icu::UnicodeString normalised = nfc->normalize(text, status);
    return U_SUCCESS(status) ? normalised : text;
}

}  // namespace orv::engine
