#pragma once
// The fake Tessera application the stand-in adapter serves in tests: stored option groups,
// one TM, and a record of what it was asked. CreateTM refuses a language id of 0 or less
// (50001), as an application that does not know the language.

#include <memory>
#include <string>

#include "standin/FakeTM.h"
#include "tessera/TessappApplication.h"

namespace orv::test {

class FakeApplication final : public TessappApplication {
public:
    FakeApplication();

    std::shared_ptr<TessappTM> get_CurrentTM() override { return tm; }
#define ORV_FAKE_GROUP_GETTER(group, list)                   \
    std::shared_ptr<Tessapp##group> get_##group() override { \
        return group;                                        \
    }
    ORV_OPTION_GROUPS(ORV_FAKE_GROUP_GETTER)
#undef ORV_FAKE_GROUP_GETTER

    void Quit() override;
    void CreateTM(const std::wstring& path, const std::wstring& note1, int32_t sourceLanguage,
                  const std::wstring& note2, int32_t targetLanguage, const std::wstring& note3,
                  int32_t number1, int32_t number2, int32_t number3, int32_t number4,
                  int32_t number5, int32_t number6, int32_t number7, const std::wstring& text1,
                  const std::wstring& text2, const std::wstring& text3) override;

    std::shared_ptr<FakeTM> tm = std::make_shared<FakeTM>();
#define ORV_FAKE_GROUP_FIELD(group, list) \
    std::shared_ptr<Stored##group> group = std::make_shared<Stored##group>();
    ORV_OPTION_GROUPS(ORV_FAKE_GROUP_FIELD)
#undef ORV_FAKE_GROUP_FIELD

    int quitCalls = 0;
    std::wstring lastCreateTM;  // the sixteen arguments, "|" between
    // ExecuteJobFile raises OnBatchCancelledByUser with this first (-1: no event).
    int32_t cancelProcessedFiles = -1;
};

}  // namespace orv::test
