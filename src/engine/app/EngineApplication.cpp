#include "engine/app/EngineApplication.h"

#include <system_error>

#include "engine/app/EngineObjectServices.h"
#include "engine/model/EngineError.h"
#include "engine/tm/LanguageIds.h"
#include "engine/tm/TmxWriter.h"
#include "platform/PathSyntax.h"

namespace orv::engine {

struct EngineApplication::CachedIndex {
    std::wstring tmPath;
    std::wstring targetLanguage;
    SubstitutionOptions substitution;
    TmFileState stamp;
    std::shared_ptr<const TmIndex> index;
};

EngineApplication::EngineApplication(std::shared_ptr<EngineControl> control)
    : control_(control ? std::move(control) : std::make_shared<EngineControl>()),
      tm_(std::make_shared<EngineTM>(*this)) {
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
    tm_->Adopt(std::move(tm), file, StateOfTmFile(file));
}

MatchOptions EngineApplication::CurrentMatchOptions() const {
    MatchOptions options;
    options.minimumMatchValue = GeneralOptions_->get_MinimumMatchValue();
    options.formattingPenalty = PenaltiesOptions_->get_FormattingMismatchPenalty();
    options.placeablePenalty = PenaltiesOptions_->get_PlaceableMismatchPenalty();
    options.multipleTranslationsPenalty = PenaltiesOptions_->get_MultipleTranslationsPenalty();
    const auto& substitution = *SubstitutionLocalisationOptions_;
    options.substitution = SubstitutionOptions{
        substitution.get_SubstituteDates(),   substitution.get_SubstituteTimes(),
        substitution.get_SubstituteNumbers(), substitution.get_SubstituteMeasurements(),
        substitution.get_ShortDatePattern(),  substitution.get_LongDatePattern(),
        substitution.get_TimePattern(),       substitution.get_DecimalSeparator(),
        substitution.get_GroupSeparator()};
    return options;
}

std::optional<TmCache> EngineApplication::Cache() const {
    const std::wstring folder = control_->Extras().indexCacheFolder;
    if (folder.empty()) return std::nullopt;
    return TmCache(folder);
}

std::shared_ptr<const TmIndex> EngineApplication::IndexFor(const std::wstring& targetLanguage,
                                                           bool reuse, bool& reused,
                                                           const StopCheck& stop) {
    const SubstitutionOptions substitution = CurrentMatchOptions().substitution;
    // The file as it was when the open TM was read, not as it is now: a TM changed on disk
    // since must not make the index of what was read look out of date, nor the other way
    // round once it is read again.
    const std::wstring& tmPath = tm_->path();
    const std::optional<TmFileState>& stamp = tm_->fileStamp();
    reused = reuse && stamp && cachedIndex_ && cachedIndex_->tmPath == tmPath &&
             cachedIndex_->targetLanguage == targetLanguage &&
             cachedIndex_->substitution == substitution && cachedIndex_->stamp == *stamp;
    if (reused) return cachedIndex_->index;

    std::shared_ptr<const TmIndex> index;
    // The index still being written may be the one wanted.
    if (cacheWriter_.joinable()) cacheWriter_.join();
    const auto cache = stamp ? Cache() : std::nullopt;
    if (cache) {
        if (auto found = cache->FindIndex(*stamp, targetLanguage, substitution))
            index = std::make_shared<const TmIndex>(std::move(*found));
    }
    if (!index) {
        index =
            std::make_shared<const TmIndex>(tm_->BuildIndex(targetLanguage, stop, substitution));
        if (cache) {
            // Writing a large index takes a second or more: the analysis need not wait.
            const auto keep = [cache = *cache, state = *stamp, index, substitution] {
                cache.KeepIndex(state, *index, substitution);
            };
            try {
                cacheWriter_ = std::jthread(keep);
            } catch (const std::system_error&) {
                keep();
            }
        }
    }
    if (stamp)
        cachedIndex_ = std::make_unique<CachedIndex>(
            CachedIndex{tmPath, targetLanguage, substitution, *stamp, index});
    else
        cachedIndex_.reset();
    return index;
}

}  // namespace orv::engine
