#pragma once
// The component's own error numbers, as the type library publishes them.

#include <cstdint>

namespace orv {

enum OrvBatchAnalyseErrors : int32_t {
    ovOrvBatchAnalyseErrorUnknown = 40000,
    ovOrvBatchAnalyseErrorUnableToOpenTes = 40001,
    ovOrvBatchAnalyseErrorDuringAnalysis = 40002,
    ovOrvBatchAnalyseErrorUnableToFindFile = 40003,
    ovOrvBatchAnalyseErrorUnableToFindDirectory = 40004,
    ovOrvBatchAnalyseErrorUnableToFindLogFile = 40005,
    ovOrvBatchAnalyseErrorUnableToOpenTM = 40006,
    ovOrvBatchAnalyseErrorUnableToCreateEmptyTM = 40007,
    ovOrvBatchAnalyseErrorUnableToSetUpTargetLanguage = 40008,
    ovOrvBatchAnalyseErrorUnableToSetUpSourceLanguage = 40009,
    ovOrvBatchAnalyseErrorUnableToCreateJobFile = 40010,
    ovOrvBatchAnalyseErrorNoSourceLanguageSpecified = 40011,
    ovOrvBatchAnalyseErrorNoTargetLanguageSpecified = 40012,
    ovOrvBatchAnalyseErrorNoTmSpecified = 40013,
    ovOrvBatchAnalyseErrorNoUserNameSpecified = 40014,
    ovOrvBatchAnalyseErrorTmDoesntExist = 40015,
    ovOrvBatchAnalyseErrorUnableToOpenTMWrongPassword = 40016,
    ovOrvBatchAnalyseErrorFileBiggerThan64kOnWin9x = 40017,
};

}  // namespace orv
