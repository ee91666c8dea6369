#pragma once
// The cache of what the engine works out from a TM file: its languages, and its match index
// into each target language. Kept in one folder of the user's (UserCacheFolder), a file for
// each TM and target language and substitution, found again by the TM's path. Each file says
// which state of the TM it was made from (size, modification and change times, device and
// file number), and is used only while the TM is still in exactly that state: a TM replaced,
// rewritten in place or edited makes it stale, and the next run that needs it makes it anew
// over the old one. Nothing of a protected TM's users is kept: its files are used only after
// the TM has let its user in, and are written readable by their owner only.
//
// The cache never stops a run: a folder that cannot be made or written, or a file that cannot
// be read, is a run without the cache.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/match/Substitution.h"
#include "engine/match/TmIndex.h"
#include "engine/system/SystemFile.h"

namespace orv::engine {

// A TM file in the state it was read in.
struct TmFileState {
    std::wstring path;  // absolute
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;
    std::int64_t changedNs = 0;
    FileNode node;

    friend bool operator==(const TmFileState&, const TmFileState&) = default;
};

// The state of the file at `path` now; none when it cannot be looked at.
std::optional<TmFileState> StateOfTmFile(const std::wstring& path);

// What the whole of a TM file tells of its languages (TranslationMemory).
struct TmLanguages {
    std::wstring sourceLanguage;
    std::vector<std::wstring> targetLanguages;
    std::uint64_t units = 0;

    friend bool operator==(const TmLanguages&, const TmLanguages&) = default;
};

class TmCache {
public:
    // The cache in `folder`, made when first written to.
    explicit TmCache(std::wstring folder);

    const std::wstring& folder() const { return folder_; }

    std::optional<TmLanguages> FindLanguages(const TmFileState& tm) const;
    void KeepLanguages(const TmFileState& tm, const TmLanguages& languages) const noexcept;

    // The index of `tm` into `targetLanguage` with `substitution`, mapped from its file.
    std::optional<TmIndex> FindIndex(const TmFileState& tm, const std::wstring& targetLanguage,
                                     const SubstitutionOptions& substitution) const;
    void KeepIndex(const TmFileState& tm, const TmIndex& index,
                   const SubstitutionOptions& substitution) const noexcept;

    // Where the files for `tm` go (for tests and for a user who looks).
    std::wstring LanguagesFile(const TmFileState& tm) const;
    std::wstring IndexFile(const TmFileState& tm, const std::wstring& targetLanguage,
                           const SubstitutionOptions& substitution) const;

private:
    std::wstring folder_;
};

}  // namespace orv::engine
