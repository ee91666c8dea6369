#pragma once
// The engine's translation memory object: a TMX file opened (its languages and users; its
// units are read when a job needs them), the selected target language, and the execution of
// job files against it.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/cache/TmCache.h"
#include "engine/match/Substitution.h"
#include "engine/match/TmIndex.h"
#include "engine/model/LoadCancelled.h"
#include "engine/model/TranslationMemory.h"
#include "engine/tm/TmFileLock.h"
#include "tessera/TessappTM.h"

namespace orv::engine {

class EngineApplication;
class EngineControl;

class EngineTM : public TessappTM {
public:
    explicit EngineTM(EngineApplication& application) : application_(application) {}

    int32_t get_SourceLanguage() const override;
    void Close() override;
    // Reads the TMX file at `path`; `mode` "w" or "r" (the engine writes no TM in place).
    // Only its languages and users are kept: a job reads the units again when it needs them,
    // which the file's state at the open lets it check (TmFileState). With a cache
    // (EngineExtras::indexCacheFolder) that knows the file in its present state, only the
    // file's header is read now. A file whose state cannot be told is kept whole.
    // A protected TM lets in only its users (CheckTmUser). "w" keeps every other program
    // from opening the file until Close, "r" keeps out writers only. A cancel request to the
    // application's control ends the reading. The outcome is kept there (LastTmOpenFailure).
    void Open(const std::wstring& path, const std::wstring& userName, const std::wstring& password,
              const std::wstring& mode) override;
    void ExecuteJobFile(const std::wstring& jobFilePath) override;
    std::vector<int32_t> get_TargetLanguages() const override;
    void put_TargetLanguage(int32_t languageId) override;
    bool get_IsOpen() const override { return tm_ != nullptr; }

    // Makes `tm`, read from or just written to `path`, the open TM; `stamp` is the file's
    // from before it was read. `lock`, on the file, is held until the TM is closed. Without
    // `unitsRead`, `tm` has the TM's languages and users but none of its units yet.
    void Adopt(std::shared_ptr<const TranslationMemory> tm, const std::wstring& path,
               std::optional<TmFileState> stamp, TmFileLock lock = {}, bool unitsRead = true);

    const std::wstring& path() const { return path_; }
    // The file as it was when the open TM was read; none when unknown or no TM is open.
    const std::optional<TmFileState>& fileStamp() const { return stamp_; }
    // The open TM with all its units, read now if they were not read at the open; refused
    // when the file is no longer in the state it was opened in. `stop` may end the reading
    // (LoadCancelled).
    std::shared_ptr<const TranslationMemory> Units(const StopCheck& stop = {});
    // The match index of the open TM: from its units when they are held, else from the file
    // read again for it, a block of units at a time, none of them kept. Refused as Units is.
    TmIndex BuildIndex(const std::wstring& targetLanguage, const StopCheck& stop,
                       const SubstitutionOptions& substitution);

private:
    const TranslationMemory& OpenTM() const;
    // Open without keeping its outcome.
    void OpenFile(const std::wstring& path, const std::wstring& userName,
                  const std::wstring& password, const std::wstring& mode);
    void RunJob(const std::wstring& jobFilePath, EngineControl& control);
    // The TM at `path` from its header and the cache's record of its languages; false, with
    // nothing open, when the cache does not know the file in `state`.
    bool OpenFromCache(const std::wstring& path, const TmFileState& state, const TmCache& cache,
                       const std::wstring& userName, const std::wstring& password,
                       TmFileLock::Kind kind);
    // The TM at `path` from a reading of its languages and users alone; false, with nothing
    // open, when the file changed while it was read.
    bool OpenOutline(const std::wstring& path, const TmFileState& state,
                     const std::optional<TmCache>& cache, const std::wstring& userName,
                     const std::wstring& password, TmFileLock::Kind kind, const StopCheck& stop);
    [[noreturn]] void RefuseChangedFile() const;

    EngineApplication& application_;
    std::shared_ptr<const TranslationMemory> tm_;
    std::wstring path_;
    std::optional<TmFileState> stamp_;
    bool unitsRead_ = false;
    // Keeps other programs from writing the TM (all of them, when opened to write) while open.
    TmFileLock lock_;
    // The target language chosen, as the TM writes it; none until one is selected.
    std::optional<std::wstring> target_;
};

}  // namespace orv::engine
