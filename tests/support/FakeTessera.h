#pragma once
// A scriptable Tessera and Word for tests. Like a live application, the fake's CurrentTM is
// never none: an unopened TM until Open or CreateTM, still there (closed) after Close.
// Every call is written to one shared log, in order, so a test can assert the sequence.

#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/AutomationError.h"
#include "tessera/ObjectServices.h"
#include "tessera/TessappApplication.h"

namespace orv::test {

// The calls made on the fakes, as "Object.Member(arguments)" texts.
using CallLog = std::shared_ptr<std::vector<std::string>>;

// An error the fake raises: number and description (source "Tessera").
struct FakeFailure {
    int32_t number = 50001;
    std::wstring description = L"Tessera refused the call";
};

struct FakeTesseraScript {
    int32_t sourceLanguage = 1031;
    std::vector<int32_t> targetLanguages{1033};
    // Open fails with this error (for a wrong password, a description containing "50003").
    std::optional<FakeFailure> openFailure;
    // The first CreateTM fails (the second, with other languages, succeeds).
    bool firstCreateTMFails = false;
    // Every CreateTM fails.
    bool createTMAlwaysFails = false;
    // Selecting this target language fails.
    std::optional<int32_t> refusedTargetLanguage;
    // ExecuteJobFile fails with this error, after raising the cancel event when set.
    std::optional<FakeFailure> executeFailure;
    std::optional<int32_t> cancelWithProcessedFiles;
    // ExecuteJobFile writes these bytes at this path (the CSV log file of the analysis).
    std::optional<std::filesystem::path> csvLogFile;
    std::string csvLogContent;
    // The option write "Group.Property" that the fake refuses.
    std::wstring refusedOptionWrite;
    // Closing the TM fails: with an automation error, or out of memory.
    bool closeFails = false;
    bool closeRunsOutOfMemory = false;
};

class FakeTesseraTM;

class FakeTesseraApplication : public TessappApplication,
                               public std::enable_shared_from_this<FakeTesseraApplication> {
public:
    FakeTesseraApplication(FakeTesseraScript script, CallLog log);

    std::shared_ptr<TessappTM> get_CurrentTM() override;
#define ORV_FAKE_GROUP_GETTER(group, list) std::shared_ptr<Tessapp##group> get_##group() override;
    ORV_OPTION_GROUPS(ORV_FAKE_GROUP_GETTER)
#undef ORV_FAKE_GROUP_GETTER
    void Quit() override;
    void CreateTM(const std::wstring& path, const std::wstring& note1, int32_t sourceLanguage,
                  const std::wstring& note2, int32_t targetLanguage, const std::wstring& note3,
                  int32_t number1, int32_t number2, int32_t number3, int32_t number4,
                  int32_t number5, int32_t number6, int32_t number7, const std::wstring& text1,
                  const std::wstring& text2, const std::wstring& text3) override;

    FakeTesseraScript script;
    bool quit = false;
    int createTMCalls = 0;
    // The option groups keep what was written, for the test to read back.
#define ORV_FAKE_GROUP_FIELD(group, list) std::shared_ptr<Stored##group> group##Store;
    ORV_OPTION_GROUPS(ORV_FAKE_GROUP_FIELD)
#undef ORV_FAKE_GROUP_FIELD
    // The writes in order, as "Group.Property".
    std::vector<std::wstring> optionWrites;

private:
    friend class FakeTesseraTM;
    void Log(const std::string& call) const {
        log_->push_back(call);
    }

    CallLog log_;
    std::shared_ptr<FakeTesseraTM> tm_;
};

class FakeTesseraTM : public TessappTM {
public:
    explicit FakeTesseraTM(FakeTesseraApplication& application) : application_(application) {}

    int32_t get_SourceLanguage() const override;
    void Close() override;
    void Open(const std::wstring& path, const std::wstring& userName, const std::wstring& password,
              const std::wstring& mode) override;
    void ExecuteJobFile(const std::wstring& jobFilePath) override;
    std::vector<int32_t> get_TargetLanguages() const override;
    void put_TargetLanguage(int32_t languageId) override;
    bool get_IsOpen() const override { return open; }

    bool open = false;
    std::wstring path;
    int32_t selectedTarget = 0;
    // The job file's text as it was when ExecuteJobFile ran.
    std::string jobText;

private:
    FakeTesseraApplication& application_;
};

class FakeWord : public LateBoundObject {
public:
    explicit FakeWord(CallLog log) : log_(std::move(log)) {}
    void CallMethod(const std::wstring& name) override;
    int quitCalls = 0;

private:
    CallLog log_;
};

// Object services over the fakes: what "create" and "look up" give is scripted.
class FakeObjectServices : public ObjectServices {
public:
    explicit FakeObjectServices(FakeTesseraScript script = {});

    std::shared_ptr<TessappApplication> CreateTessera() override;
    std::shared_ptr<TessappApplication> LookUpTessera() override;
    std::shared_ptr<LateBoundObject> CreateWord() override;
    std::shared_ptr<LateBoundObject> LookUpWord() override;

    CallLog log = std::make_shared<std::vector<std::string>>();
    FakeTesseraScript script;
    // No Tessera can be created (as on a machine without it).
    bool tesseraMissing = false;
    // Creating Tessera throws instead of giving none.
    bool tesseraCreateThrows = false;
    // The running Tessera is found only from this look-up on (1 = the first); 0 = never.
    int tesseraFoundFromLookUp = 1;
    // The first look-ups of each application fail with an error.
    int failingLookUps = 0;
    // A Word the user already runs.
    std::shared_ptr<FakeWord> runningWord;
    // When not 0, a Word that is starting up is found from this look-up on (and none before).
    int wordFoundFromLookUp = 0;
    // What creating Word gives (none when false); a Word found by the wait counts too.
    bool wordCreatable = true;

    // Every application created, last one last.
    std::vector<std::shared_ptr<FakeTesseraApplication>> applications;
    std::vector<std::shared_ptr<FakeWord>> createdWords;
    int tesseraLookUps = 0;
    int wordLookUps = 0;

    std::shared_ptr<FakeTesseraApplication> application() const {
        return applications.empty() ? nullptr : applications.back();
    }
    // How many log entries start with `prefix`, and which.
    int Calls(const std::string& prefix) const;
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

private:
    std::shared_ptr<FakeWord> startingWord_;
};

// The error `work` raises, if any.
template <typename Work>
std::optional<AutomationError> RaisedBy(Work&& work) {
    try {
        work();
    } catch (const AutomationError& error) {
        return error;
    }
    return std::nullopt;
}

// The number of the error `work` raises; 0 when it raises none.
template <typename Work>
int32_t ErrorNumber(Work&& work) {
    const auto error = RaisedBy(std::forward<Work>(work));
    return error ? error->number() : 0;
}

// The names of the files in `folder`: what a run left behind.
std::set<std::string> FileNamesIn(const std::filesystem::path& folder);

}  // namespace orv::test
