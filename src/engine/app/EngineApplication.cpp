#include "engine/app/EngineApplication.h"

#include <filesystem>
#include <system_error>

#include "engine/app/EngineObjectServices.h"
#include "engine/model/EngineError.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmxWriter.h"
#include "platform/NarrowText.h"
#include "platform/PathSyntax.h"

namespace orv::engine {

struct EngineApplication::CachedIndex {
    std::wstring tmPath;
    std::wstring targetLanguage;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    std::shared_ptr<const TmIndex> index;
};

namespace {

// The size and modification time of a TM file, to tell whether it changed; none when the
// file cannot be looked at.
bool FileStamp(const std::wstring& path, std::uintmax_t& size,
               std::filesystem::file_time_type& modified) {
    auto narrow = ToNarrowExactly(path);
    if (!narrow) return false;
    std::error_code error;
    size = std::filesystem::file_size(*narrow, error);
    if (error) return false;
    modified = std::filesystem::last_write_time(*narrow, error);
    return !error;
}

}  // namespace

EngineApplication::EngineApplication() : tm_(std::make_shared<EngineTM>(*this)) {
#define ORV_ENGINE_GROUP_INIT(group, list) group##_ = std::make_shared<Stored##group>();
    ORV_OPTION_GROUPS(ORV_ENGINE_GROUP_INIT)
#undef ORV_ENGINE_GROUP_INIT
}

EngineApplication::~EngineApplication() = default;

void EngineApplication::Quit() {
    tm_->Close();
    cachedIndex_.reset();
    UnregisterRunningEngine(this);
}

void EngineApplication::CreateTM(const std::wstring& path, const std::wstring&,
                                 int32_t sourceLanguage, const std::wstring&,
                                 int32_t targetLanguage, const std::wstring&, int32_t, int32_t,
                                 int32_t, int32_t, int32_t, int32_t, int32_t, const std::wstring&,
                                 const std::wstring&, const std::wstring&) {
    const std::wstring base = BaseNameOfPath(path);
    if (base.empty())
        RaiseEngineError(L"Cannot create a translation memory at " + path +
                         L": the path names no file");
    const auto source = LanguageTagFromId(sourceLanguage);
    const auto target = LanguageTagFromId(targetLanguage);
    if (!source || !target)
        RaiseEngineError(
            L"Cannot create a translation memory: a language id names no known language");

    const auto separator = LastSeparator(path);
    const std::wstring file =
        (separator == std::wstring::npos ? L"" : path.substr(0, separator + 1)) + base + L".tmv";
    auto tm = std::make_shared<TranslationMemory>();
    tm->sourceLanguage = *source;
    tm->targetLanguages = {*target};
    WriteTmxFile(*tm, file);
    tm_->Adopt(std::move(tm), file);
}

MatchOptions EngineApplication::CurrentMatchOptions() const {
    MatchOptions options;
    options.minimumMatchValue = GeneralOptions_->get_MinimumMatchValue();
    options.formattingPenalty = PenaltiesOptions_->get_FormattingMismatchPenalty();
    options.placeablePenalty = PenaltiesOptions_->get_PlaceableMismatchPenalty();
    options.multipleTranslationsPenalty = PenaltiesOptions_->get_MultipleTranslationsPenalty();
    return options;
}

std::shared_ptr<const TmIndex> EngineApplication::IndexFor(
    const std::shared_ptr<const TranslationMemory>& tm, const std::wstring& tmPath,
    const std::wstring& targetLanguage, bool reuse, bool& reused) {
    CachedIndex stamp;
    stamp.tmPath = tmPath;
    stamp.targetLanguage = targetLanguage;
    const bool stamped = FileStamp(tmPath, stamp.size, stamp.modified);
    reused = reuse && stamped && cachedIndex_ && cachedIndex_->tmPath == tmPath &&
             cachedIndex_->targetLanguage == targetLanguage && cachedIndex_->size == stamp.size &&
             cachedIndex_->modified == stamp.modified;
    if (reused) return cachedIndex_->index;

    stamp.index = std::make_shared<const TmIndex>(*tm, targetLanguage);
    if (stamped) {
        cachedIndex_ = std::make_unique<CachedIndex>(std::move(stamp));
        return cachedIndex_->index;
    }
    cachedIndex_.reset();
    return stamp.index;
}

}  // namespace orv::engine
