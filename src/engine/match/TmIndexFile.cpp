#include "engine/match/TmIndexFile.h"

#include <vector>

#include "engine/cache/CacheFile.h"
#include "engine/match/TmIndexData.h"

namespace orv::engine {

namespace {

// The layout of the arrays: a change to any of them, or to what they mean (the exact keys'
// hash among them), is a new version.
constexpr CacheFileKind kIndexFile{0x31584449 /* "IDX1" */, 3};

#define ORV_TM_INDEX_COUNT(name, type) +1
constexpr std::size_t kArrays = 0 ORV_TM_INDEX_ARRAYS(ORV_TM_INDEX_COUNT);
#undef ORV_TM_INDEX_COUNT

template <class T>
bool View(std::span<const std::byte> bytes, std::span<const T>& view) {
    static_assert(alignof(T) <= kCacheSectionAlignment);
    if (bytes.size() % sizeof(T) != 0) return false;
    view = std::span<const T>(reinterpret_cast<const T*>(bytes.data()), bytes.size() / sizeof(T));
    return true;
}

}  // namespace

void WriteTmIndexFile(const TmIndex& index, const std::wstring& path, std::string_view key) {
    const TmIndex::Data& data = index.data();
    std::vector<std::span<const std::byte>> sections;
#define ORV_TM_INDEX_SECTION(name, type) sections.push_back(std::as_bytes(data.name));
    ORV_TM_INDEX_ARRAYS(ORV_TM_INDEX_SECTION)
#undef ORV_TM_INDEX_SECTION
    WriteCacheFile(path, kIndexFile, key, sections);
}

std::optional<TmIndex> ReadTmIndexFile(const std::wstring& path, std::string_view key,
                                       const std::wstring& targetLanguage,
                                       const SubstitutionOptions& substitution) {
    auto contents = ReadCacheFile(path, kIndexFile, key, kArrays);
    if (!contents) return std::nullopt;
    auto data = std::make_unique<TmIndex::Data>();
    std::size_t section = 0;
    bool whole = true;
#define ORV_TM_INDEX_VIEW(name, type) \
    whole = whole && View(contents->sections[section++], data->name);
    ORV_TM_INDEX_ARRAYS(ORV_TM_INDEX_VIEW)
#undef ORV_TM_INDEX_VIEW
    if (!whole || !IsSearchable(*data)) return std::nullopt;
    data->targetLanguage = targetLanguage;
    if (substitution.Any()) data->substitution = std::make_shared<const Substitution>(substitution);
    data->storage = std::move(contents->owner);
    return TmIndex(std::move(data));
}

}  // namespace orv::engine
