#include "cli/tm/LanguageArgument.h"

#include <unicode/uloc.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <limits>
#include <optional>
#include <set>
#include <vector>

#include "cli/tm/UsageError.h"
#include "engine/tm/LanguageIds.h"
#include "platform/NarrowText.h"

namespace orv::cli {
namespace {

bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsAsciiAlpha(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A whole decimal or "0x" hexadecimal number that fits a language id; none otherwise.
std::optional<int32_t> ParseId(const std::string& text) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const char* first = text.data() + (hex ? 2 : 0);
    const char* last = text.data() + text.size();
    // from_chars takes a sign that a user should not have given ("0x-1").
    if (first == last || !std::isxdigit(static_cast<unsigned char>(*first))) return std::nullopt;
    int64_t value = 0;
    const auto [end, error] = std::from_chars(first, last, value, hex ? 16 : 10);
    if (error != std::errc() || end != last || value <= 0 ||
        value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<int32_t>(value);
}

std::vector<std::string> Subtags(const std::string& tag) {
    std::vector<std::string> parts(1);
    for (char c : tag) {
        if (c == '-' || c == '_') {
            parts.emplace_back();
        } else {
            parts.back().push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
        }
    }
    return parts;
}

// The region of a tag ("de-DE", "zh-Hans-CN", "es-419"), lower case; empty when it has none.
std::string RegionOf(const std::string& tag) {
    const std::vector<std::string> parts = Subtags(tag);
    std::size_t at = 1;
    if (at < parts.size() && parts[at].size() == 4 &&
        std::all_of(parts[at].begin(), parts[at].end(), IsAsciiAlpha)) {
        ++at;  // the script
    }
    if (at >= parts.size()) return {};
    const std::string& part = parts[at];
    const bool alpha2 = part.size() == 2 && std::all_of(part.begin(), part.end(), IsAsciiAlpha);
    const bool digit3 = part.size() == 3 && std::all_of(part.begin(), part.end(), IsAsciiDigit);
    return alpha2 || digit3 ? part : std::string{};
}

std::optional<int32_t> IdOfTag(const std::string& tag) {
    if (!std::all_of(tag.begin(), tag.end(), [](char c) { return c > ' ' && c <= '~'; })) {
        return std::nullopt;
    }
    const auto id = engine::LanguageIdFromTag(std::wstring(tag.begin(), tag.end()));
    if (!id) return std::nullopt;
    // ICU answers a region it does not know with the bare language; a user who wrote one
    // meant it, so a tag that lost its region names nothing.
    const std::string region = RegionOf(tag);
    if (!region.empty()) {
        const auto known = engine::LanguageTagFromId(*id);
        if (!known) return std::nullopt;
        const std::vector<std::string> parts = Subtags(ToNarrow(*known));
        if (std::find(parts.begin() + 1, parts.end(), region) == parts.end()) return std::nullopt;
    }
    return id;
}

}  // namespace

int32_t ParseLanguageArgument(const std::string& argument) {
    const bool numeric = !argument.empty() && IsAsciiDigit(argument.front());
    std::optional<int32_t> id = numeric ? ParseId(argument) : IdOfTag(argument);
    // The engine stores languages as tags, so an id without one is of no use to it.
    if (id && !engine::LanguageTagFromId(*id)) id.reset();
    if (!id) {
        throw UsageError("unknown language \"" + argument +
                         "\": give a language tag such as de-DE or a Windows language id such "
                         "as 1031");
    }
    return *id;
}

std::vector<std::string> LanguageArgumentChoices() {
    // ICU's locales name the candidates; the engine's own translation decides which of them
    // are languages with an id, and under which tag it writes them.
    std::set<std::string> choices;
    const int32_t count = uloc_countAvailable();
    for (int32_t i = 0; i < count; ++i) {
        char tag[ULOC_FULLNAME_CAPACITY] = {};
        UErrorCode status = U_ZERO_ERROR;
        uloc_toLanguageTag(uloc_getAvailable(i), tag, sizeof tag - 1, true, &status);
        if (U_FAILURE(status)) continue;
        const auto id = engine::LanguageIdFromTag(FromNarrow(tag));
        if (!id) continue;
        const auto known = engine::LanguageTagFromId(*id);
        if (!known || engine::LanguageIdFromTag(*known) != id) continue;
        char hex[16];
        std::snprintf(hex, sizeof hex, "0x%04X", static_cast<unsigned>(*id));
        choices.insert(ToNarrow(*known));
        choices.insert(hex);
    }
    return {choices.begin(), choices.end()};
}

std::string LanguageDisplay(int32_t id) {
    const auto tag = engine::LanguageTagFromId(id);
    const std::string number = " (" + std::to_string(id) + ")";
    return (tag ? ToNarrow(*tag) : std::string("unknown language")) + number;
}

}  // namespace orv::cli
