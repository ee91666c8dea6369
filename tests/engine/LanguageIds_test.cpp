#include "engine/tm/LanguageIds.h"

#include <gtest/gtest.h>

namespace orv::engine {
namespace {

TEST(LanguageIds, MapsWindowsIdsToTagsAndBack) {
    const std::pair<int32_t, const wchar_t*> mappings[] = {
        {1033, L"en-US"}, {2057, L"en-GB"},      {1031, L"de-DE"}, {1036, L"fr-FR"},
        {3082, L"es-ES"}, {2052, L"zh-CN"},      {1028, L"zh-TW"}, {1041, L"ja-JP"},
        {1037, L"he-IL"}, {9242, L"sr-Latn-RS"}, {1046, L"pt-BR"}, {7, L"de"},
    };
    for (const auto& [id, tag] : mappings) {
        SCOPED_TRACE(id);
        EXPECT_EQ(LanguageTagFromId(id), std::wstring(tag));
        EXPECT_EQ(LanguageIdFromTag(tag), id);
    }
    // The traditional Spanish sort is no language of its own.
    EXPECT_EQ(LanguageTagFromId(1034), L"es-ES");
}

TEST(LanguageIds, TagsInAnyLetterCaseOrWithUnderscoresMapToTheSameId) {
    for (const wchar_t* tag : {L"EN-us", L"en_US", L"en-us"})
        EXPECT_EQ(LanguageIdFromTag(tag), 1033);
    EXPECT_EQ(LanguageIdFromTag(L"zh-Hans-CN"), 2052);
    EXPECT_TRUE(SameLanguageTag(L"en-US", L"EN_us"));
    EXPECT_FALSE(SameLanguageTag(L"en-US", L"en-GB"));
    EXPECT_FALSE(SameLanguageTag(L"en-US", L"en"));
}

TEST(LanguageIds, WhatNamesNoKnownLanguageMapsToNothing) {
    // 0xF809 and 0x10409 are English ids with bits ICU would silently drop.
    for (int32_t id : {0, -1, 0x10409, 0xF809, 0x7FFFFFFF}) {
        EXPECT_EQ(LanguageTagFromId(id), std::nullopt) << id;
    }
    for (const wchar_t* tag : {L"", L"*all*", L"xx-YY", L"en US", L"en-US-", L"d\u00e9-DE"}) {
        EXPECT_EQ(LanguageIdFromTag(tag), std::nullopt) << testing::PrintToString(tag);
    }
}

}  // namespace
}  // namespace orv::engine
