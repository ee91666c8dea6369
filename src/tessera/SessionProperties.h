#pragma once
// The settings BatchAnalyse copies into its Tessera session, in the order of the copy. One
// list gives both classes their accessors and the copy, and the automation layer its
// wrappers.

#include <cstdint>
#include <string>

// X(type, name)
// clang-format off
#define ORV_SESSION_PROPERTIES(X)                 \
    X(bool, LoadWordObject)                       \
    X(std::wstring, TranslationMemory)            \
    X(std::wstring, TranslationMemoryUserName)    \
    X(std::wstring, TranslationMemoryPassword)    \
    X(int32_t, TranslationMemorySourceLanguageId) \
    X(int32_t, TranslationMemoryTargetLanguageId)
// clang-format on
