#pragma once
// Languages are Windows language ids (LCIDs) at the automation interface and BCP 47 tags
// inside a TM file. ICU's tables translate between the two.

#include <cstdint>
#include <optional>
#include <string>

namespace orv::engine {

// The tag for a language id (1033 gives "en-US", 1034 and 3082 both give "es-ES", 2052 gives
// "zh-CN"); nullopt for 0, a negative id or an id ICU does not know exactly.
std::optional<std::wstring> LanguageTagFromId(int32_t languageId);

// The id for a tag in any letter case, with "-" or "_" between its parts ("EN-us", "en_US"
// give 1033). A tag whose region ICU does not know may give the language's neutral id
// ("en-001" gives 9); nullopt when ICU knows no id at all or the text is no tag ("*all*").
std::optional<int32_t> LanguageIdFromTag(const std::wstring& tag);

// Whether two tags name the same language as written: equal but for letter case and for "_"
// in place of "-".
bool SameLanguageTag(const std::wstring& a, const std::wstring& b);

// The one spelling of `tag` that SameLanguageTag sees: lower case, "-" between the parts.
std::wstring FoldedLanguageTag(std::wstring tag);

}  // namespace orv::engine
