#pragma once
// The engine's translation memory object: a TMX file opened into memory, its languages,
// the selected target language, and the execution of job files against it.

#include <memory>
#include <optional>
#include <string>

#include "engine/model/TranslationMemory.h"
#include "tessera/TessappTM.h"

namespace orv::engine {

class EngineApplication;

class EngineTM : public TessappTM {
public:
    explicit EngineTM(EngineApplication& application) : application_(application) {}

    int32_t get_SourceLanguage() const override;
    void Close() override;
    // Reads the TMX file at `path`; `mode` "w" or "r" (the engine writes no TM in place).
    void Open(const std::wstring& path, const std::wstring& userName, const std::wstring& password,
              const std::wstring& mode) override;
    void ExecuteJobFile(const std::wstring& jobFilePath) override;
    std::vector<int32_t> get_TargetLanguages() const override;
    void put_TargetLanguage(int32_t languageId) override;
    bool get_IsOpen() const override { return tm_ != nullptr; }

    // Makes `tm`, just written to `path`, the open TM.
    void Adopt(std::shared_ptr<const TranslationMemory> tm, const std::wstring& path);

    const std::wstring& path() const { return path_; }

private:
    const TranslationMemory& OpenTM() const;

    EngineApplication& application_;
    std::shared_ptr<const TranslationMemory> tm_;
    std::wstring path_;
    // The target language chosen, as the TM writes it; none until one is selected.
    std::optional<std::wstring> target_;
};

}  // namespace orv::engine
