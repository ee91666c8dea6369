#pragma once
// A Tessera session over the shared fakes, with two additions the tessera tests need: a trace
// of the order of look-ups, pauses and message rounds, and look-ups that fail or find Word
// only from the Nth attempt.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/AutomationError.h"
#include "platform/StdFileSystem.h"
#include "support/FakePlatform.h"
#include "support/FakeTessera.h"
#include "tessera/clsBATessera.h"

namespace orv::test {

// The trace: 'M' message round, 'S' pause, 'T' look-up of Tessera, 'W' look-up of Word.
class TracingPlatform : public FakePlatform {
public:
    mutable std::string trace;
    void Sleep(uint32_t milliseconds) const override {
        trace += 'S';
        FakePlatform::Sleep(milliseconds);
    }
    void ProcessMessages() const override {
        trace += 'M';
        FakePlatform::ProcessMessages();
    }
};

class ScriptedObjects : public FakeObjectServices {
public:
    ScriptedObjects(FakeTesseraScript scriptIn, std::string& trace)
        : FakeObjectServices(std::move(scriptIn)), trace_(trace) {}

    // The first look-ups (of either application) fail with an error.
    int failingLookUps = 0;
    // When not 0, LookUpWord finds `waitedWord` from this look-up on, and nothing before.
    int wordFoundFromLookUp = 0;
    std::shared_ptr<FakeWord> waitedWord = std::make_shared<FakeWord>(log);

    std::shared_ptr<TessappApplication> LookUpTessera() override {
        trace_ += 'T';
        auto found = FakeObjectServices::LookUpTessera();
        FailIfScripted(tesseraLookUps);
        return found;
    }
    std::shared_ptr<LateBoundObject> LookUpWord() override {
        trace_ += 'W';
        auto found = FakeObjectServices::LookUpWord();
        FailIfScripted(wordLookUps);
        if (wordFoundFromLookUp == 0) return found;
        return wordLookUps >= wordFoundFromLookUp ? waitedWord : nullptr;
    }

private:
    void FailIfScripted(int lookUp) const {
        if (lookUp <= failingLookUps) throw AutomationError(429, L"Objects", L"not running");
    }
    std::string& trace_;
};

struct Session {
    explicit Session(FakeTesseraScript script = {})
        : objects(std::make_shared<ScriptedObjects>(std::move(script), platform->trace)),
          tessera(std::make_unique<clsBATessera>(
              ServiceSet(platform, std::make_shared<StdFileSystem>(), objects))) {}

    FakeTesseraApplication& app() const { return *objects->application(); }
    FakeTesseraTM& tm() const { return static_cast<FakeTesseraTM&>(*app().get_CurrentTM()); }

    std::shared_ptr<TracingPlatform> platform = std::make_shared<TracingPlatform>();
    std::shared_ptr<ScriptedObjects> objects;
    std::unique_ptr<clsBATessera> tessera;
};

// The number of the AutomationError that `call` raises; 0 when it raises none.
template <typename Call>
int32_t ErrorNumber(Call&& call) {
    try {
        call();
        return 0;
    } catch (const AutomationError& error) {
        return error.number();
    }
}

}  // namespace orv::test
