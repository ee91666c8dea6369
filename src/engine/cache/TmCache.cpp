#include "engine/cache/TmCache.h"

#include <cstdio>
#include <filesystem>
#include <string_view>

#include <unicode/uversion.h>

#include "OrvBatchAnalyseVersion.h"
#include "engine/cache/CacheFile.h"
#include "engine/match/TmIndexFile.h"
#include "engine/system/CacheFolder.h"
#include "engine/system/FileFailure.h"
#include "engine/text/Fnv1a.h"
#include "engine/text/Utf8.h"
#include "engine/tm/LanguageIds.h"
#include "platform/NativePath.h"

namespace orv::engine {

namespace {

constexpr CacheFileKind kLanguagesFile{0x31474E4C /* "LNG1" */, 1};

// The TM's part of every key: a file made for another path or state is another key, and so
// is one made by another version of the engine or of ICU, whose reading or tokens may differ.
std::string TmKey(const TmFileState& tm) {
    return std::string("engine=") + kComponentVersion +
           "\nicu=" U_ICU_VERSION "\ntm=" + ToUtf8(tm.path) + "\nsize=" + std::to_string(tm.size) +
           "\nmodified=" + std::to_string(tm.modifiedNs) +
           "\nchanged=" + std::to_string(tm.changedNs) +
           "\nvolume=" + std::to_string(tm.node.volume) +
           "\nfile=" + std::to_string(tm.node.index) + "\n";
}

// What else shapes an index: the target language as the index compares it, and every
// substitution setting, each on a line of its own so that no two settings read alike.
std::string IndexKey(const TmFileState& tm, const std::wstring& targetLanguage,
                     const SubstitutionOptions& s) {
    auto flag = [](bool on) { return on ? "1" : "0"; };
    return TmKey(tm) + "target=" + ToUtf8(FoldedLanguageTag(targetLanguage)) +
           "\ndates=" + flag(s.dates) + "\ntimes=" + flag(s.times) +
           "\nnumbers=" + flag(s.numbers) + "\nmeasurements=" + flag(s.measurements) +
           "\nshortdate=" + ToUtf8(s.shortDatePattern) + "\nlongdate=" + ToUtf8(s.longDatePattern) +
           "\ntime=" + ToUtf8(s.timePattern) + "\ndecimal=" + ToUtf8(s.decimalSeparator) +
           "\ngroup=" + ToUtf8(s.groupSeparator) + "\n";
}

std::string Hex(std::string_view text) {
    char digits[17];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(Fnv1a64(text)));
    return digits;
}

std::wstring Wide(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::wstring InFolder(const std::wstring& folder, const std::string& name) {
    return (std::filesystem::path(folder) / Wide(name)).wstring();
}

// The languages as the section holds them: the source, then each target, a line each.
std::string LanguagesText(const TmLanguages& languages) {
    std::string text = std::to_string(languages.units) + "\n" + ToUtf8(languages.sourceLanguage);
    for (const auto& target : languages.targetLanguages) text += "\n" + ToUtf8(target);
    return text;
}

std::optional<TmLanguages> LanguagesFrom(std::string_view text) {
    TmLanguages languages;
    std::vector<std::wstring> lines;
    for (std::size_t from = 0;;) {
        const std::size_t end = text.find('\n', from);
        lines.push_back(FromUtf8(text.substr(from, end - from)));
        if (end == std::string_view::npos) break;
        from = end + 1;
    }
    if (lines.size() < 2) return std::nullopt;
    try {
        languages.units = std::stoull(std::string(text.substr(0, text.find('\n'))));
    } catch (const std::exception&) {
        return std::nullopt;
    }
    languages.sourceLanguage = lines[1];
    languages.targetLanguages.assign(lines.begin() + 2, lines.end());
    return languages;
}

}  // namespace

std::optional<TmFileState> StateOfTmFile(const std::wstring& path) {
    const auto native = ToNativePath(path);
    if (!native || native->empty()) return std::nullopt;
    std::error_code error;
    const auto absolute = std::filesystem::absolute(*native, error);
    if (error) return std::nullopt;
    const auto status = StatusOfPath(absolute);
    if (!status || status->kind != FileKind::Regular) return std::nullopt;
    return TmFileState{absolute.lexically_normal().wstring(), status->size, status->modifiedNs,
                       status->changedNs, status->node};
}

TmCache::TmCache(std::wstring folder) : folder_(std::move(folder)) {}

std::wstring TmCache::LanguagesFile(const TmFileState& tm) const {
    return InFolder(folder_, Hex(ToUtf8(tm.path)) + ".languages");
}

std::wstring TmCache::IndexFile(const TmFileState& tm, const std::wstring& targetLanguage,
                                const SubstitutionOptions& substitution) const {
    const std::string key = IndexKey(tm, targetLanguage, substitution);
    return InFolder(folder_,
                    Hex(ToUtf8(tm.path)) + "-" + Hex(key.substr(TmKey(tm).size())) + ".index");
}

std::optional<TmLanguages> TmCache::FindLanguages(const TmFileState& tm) const {
    auto contents = ReadCacheFile(LanguagesFile(tm), kLanguagesFile, TmKey(tm), 1);
    if (!contents) return std::nullopt;
    const auto& bytes = contents->sections.front();
    return LanguagesFrom(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

void TmCache::KeepLanguages(const TmFileState& tm, const TmLanguages& languages) const noexcept {
    try {
        if (!EnsureFolder(folder_)) return;
        const std::string text = LanguagesText(languages);
        WriteCacheFile(LanguagesFile(tm), kLanguagesFile, TmKey(tm),
                       {std::as_bytes(std::span(text))});
    } catch (const FileFailure&) {
        // A cache that cannot be written is a run without it.
    } catch (const std::bad_alloc&) {
    }
}

std::optional<TmIndex> TmCache::FindIndex(const TmFileState& tm, const std::wstring& targetLanguage,
                                          const SubstitutionOptions& substitution) const {
    return ReadTmIndexFile(IndexFile(tm, targetLanguage, substitution),
                           IndexKey(tm, targetLanguage, substitution), targetLanguage,
                           substitution);
}

void TmCache::KeepIndex(const TmFileState& tm, const TmIndex& index,
                        const SubstitutionOptions& substitution) const noexcept {
    try {
        if (!EnsureFolder(folder_)) return;
        WriteTmIndexFile(index, IndexFile(tm, index.targetLanguage(), substitution),
                         IndexKey(tm, index.targetLanguage(), substitution));
    } catch (const FileFailure&) {
        // A cache that cannot be written is a run without it.
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace orv::engine
