#pragma once
// The engine as Tessera's application object: one TM object that is always there, the
// option groups (stored; the general floor and the penalties steer the matching), empty TMs
// created for a language pair, the cancel event, and the control through which a program
// around the engine cancels its analyses, follows their progress and reads their failures.

#include <memory>
#include <optional>
#include <string>
#include <thread>

#include "engine/app/EngineControl.h"
#include "engine/app/EngineTM.h"
#include "engine/match/Matcher.h"
#include "engine/match/TmIndex.h"
#include "tessera/TessappApplication.h"

namespace orv::engine {

class EngineApplication : public TessappApplication {
public:
    // `control` may be shared with other applications of the same client; none: one of its
    // own.
    explicit EngineApplication(std::shared_ptr<EngineControl> control = nullptr);
    ~EngineApplication() override;

    std::shared_ptr<TessappTM> get_CurrentTM() override { return tm_; }
#define ORV_ENGINE_GROUP_GETTER(group, list)                 \
    std::shared_ptr<Tessapp##group> get_##group() override { \
        return group##_;                                     \
    }
    ORV_OPTION_GROUPS(ORV_ENGINE_GROUP_GETTER)
#undef ORV_ENGINE_GROUP_GETTER

    // Closes the TM; the application object itself stays usable.
    void Quit() override;

    // Writes an empty TM in the two languages as folder + base name + ".tmv" and opens it.
    // Refuses language ids that map to no language and a path without a file name.
    void CreateTM(const std::wstring& path, const std::wstring& note1, int32_t sourceLanguage,
                  const std::wstring& note2, int32_t targetLanguage, const std::wstring& note3,
                  int32_t number1, int32_t number2, int32_t number3, int32_t number4,
                  int32_t number5, int32_t number6, int32_t number7, const std::wstring& text1,
                  const std::wstring& text2, const std::wstring& text3) override;

    // Never none; the same for the application's whole life.
    const std::shared_ptr<EngineControl>& control() const {
        return control_;
    }

    // What the general and penalties options ask of the matching.
    MatchOptions CurrentMatchOptions() const;
    // Whether footnotes are split into sentences like body text (the tools options).
    bool MultiSegmentFootnotes() const {
        return ToolsOptions_->get_MultiSegmentFootnotes();
    }

    // The index of the open TM into `targetLanguage`. With `reuse`, the index the previous
    // analysis built is used again when it was built for the same language from the same
    // TM file, read in the same state as the open TM (EngineTM::fileStamp). Otherwise the
    // cache's index when it has one for the file in that state, else one built now (and
    // kept in the cache, written on a thread of its own while the analysis goes on: the
    // application waits for it before it is destroyed, and before it looks in the cache
    // again). `stop` may end the building early (TmIndex), and then nothing is kept.
    std::shared_ptr<const TmIndex> IndexFor(const std::wstring& targetLanguage, bool reuse,
                                            bool& reused, const StopCheck& stop = {});

    // The cache that the extras name (EngineExtras::indexCacheFolder); none without one.
    std::optional<TmCache> Cache() const;

private:
    const std::shared_ptr<EngineControl> control_;
    std::shared_ptr<EngineTM> tm_;
#define ORV_ENGINE_GROUP_FIELD(group, list) std::shared_ptr<Stored##group> group##_;
    ORV_OPTION_GROUPS(ORV_ENGINE_GROUP_FIELD)
#undef ORV_ENGINE_GROUP_FIELD

    struct CachedIndex;
    std::unique_ptr<CachedIndex> cachedIndex_;
    // Writes the index just built to the cache; last, so that it is joined first.
    std::jthread cacheWriter_;
};

}  // namespace orv::engine
