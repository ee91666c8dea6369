#include "support/FakeTessera.h"

#include <fstream>
#include <new>
#include <sstream>

#include "platform/AutomationError.h"
#include "platform/NarrowText.h"
#include "support/TempFolder.h"

namespace orv::test {
namespace {

[[noreturn]] void Fail(const FakeFailure& failure) {
    throw AutomationError(failure.number, L"Tessera", failure.description);
}

std::string Narrow(const std::wstring& text) {
    return ToNarrow(text);
}

}  // namespace

FakeTesseraApplication::FakeTesseraApplication(FakeTesseraScript scriptIn, CallLog log)
    : script(std::move(scriptIn)), log_(std::move(log)) {
    OptionWriteHook hook = [this](std::wstring_view group, std::wstring_view property) {
        std::wstring write = std::wstring(group) + L"." + std::wstring(property);
        if (write == script.refusedOptionWrite) Fail({50100, L"Option refused: " + write});
        optionWrites.push_back(write);
    };
#define ORV_FAKE_GROUP_INIT(group, list) group##Store = std::make_shared<Stored##group>(hook);
    ORV_OPTION_GROUPS(ORV_FAKE_GROUP_INIT)
#undef ORV_FAKE_GROUP_INIT
    tm_ = std::make_shared<FakeTesseraTM>(*this);
}

std::shared_ptr<TessappTM> FakeTesseraApplication::get_CurrentTM() {
    return tm_;
}

#define ORV_FAKE_GROUP_GETTER(group, list)                                  \
    std::shared_ptr<Tessapp##group> FakeTesseraApplication::get_##group() { \
        return group##Store;                                                \
    }
ORV_OPTION_GROUPS(ORV_FAKE_GROUP_GETTER)
#undef ORV_FAKE_GROUP_GETTER

void FakeTesseraApplication::Quit() {
    Log("Application.Quit");
    quit = true;
}

void FakeTesseraApplication::CreateTM(const std::wstring& path, const std::wstring&,
                                      int32_t sourceLanguage, const std::wstring&,
                                      int32_t targetLanguage, const std::wstring&, int32_t, int32_t,
                                      int32_t, int32_t, int32_t, int32_t, int32_t,
                                      const std::wstring&, const std::wstring&,
                                      const std::wstring&) {
    ++createTMCalls;
    Log("Application.CreateTM(" + std::to_string(sourceLanguage) + "," +
        std::to_string(targetLanguage) + ")");
    // Like the real application, the TM's files land beside the name it was given, also
    // when the creation then fails.
    const std::filesystem::path file = OnDisk(path);
    std::ofstream(file.parent_path() / (file.stem().string() + ".tmv")) << "tm";
    if (script.createTMAlwaysFails || (script.firstCreateTMFails && createTMCalls == 1))
        Fail({50200, L"Cannot create TM"});
    tm_->open = true;
    tm_->path = path;
    script.sourceLanguage = sourceLanguage;
    script.targetLanguages = {targetLanguage};
}

int32_t FakeTesseraTM::get_SourceLanguage() const {
    application_.Log("TM.SourceLanguage");
    return application_.script.sourceLanguage;
}

void FakeTesseraTM::Close() {
    application_.Log("TM.Close");
    if (application_.script.closeFails) Fail({50300, L"Cannot close"});
    if (application_.script.closeRunsOutOfMemory) throw std::bad_alloc();
    open = false;
}

void FakeTesseraTM::Open(const std::wstring& pathIn, const std::wstring& userName,
                         const std::wstring& password, const std::wstring& mode) {
    application_.Log("TM.Open(" + Narrow(pathIn) + "," + Narrow(userName) + "," + Narrow(password) +
                     "," + Narrow(mode) + ")");
    if (application_.script.openFailure) Fail(*application_.script.openFailure);
    open = true;
    path = pathIn;
}

void FakeTesseraTM::ExecuteJobFile(const std::wstring& jobFilePath) {
    application_.Log("TM.ExecuteJobFile");
    std::ifstream job(OnDisk(jobFilePath), std::ios::binary);
    std::ostringstream text;
    text << job.rdbuf();
    jobText = text.str();
    const auto& script = application_.script;
    if (script.cancelWithProcessedFiles)
        application_.OnBatchCancelledByUser.Raise(*script.cancelWithProcessedFiles);
    if (script.executeFailure) Fail(*script.executeFailure);
    if (script.csvLogFile)
        std::ofstream(*script.csvLogFile, std::ios::binary) << script.csvLogContent;
}

std::vector<int32_t> FakeTesseraTM::get_TargetLanguages() const {
    application_.Log("TM.TargetLanguages");
    return application_.script.targetLanguages;
}

void FakeTesseraTM::put_TargetLanguage(int32_t languageId) {
    application_.Log("TM.TargetLanguage=" + std::to_string(languageId));
    if (application_.script.refusedTargetLanguage == languageId)
        Fail({50400, L"Language not available"});
    selectedTarget = languageId;
}

void FakeWord::CallMethod(const std::wstring& name) {
    log_->push_back("Word." + Narrow(name));
    if (name == L"Quit") ++quitCalls;
}

FakeObjectServices::FakeObjectServices(FakeTesseraScript scriptIn) : script(std::move(scriptIn)) {}

std::shared_ptr<TessappApplication> FakeObjectServices::CreateTessera() {
    log->push_back("Objects.CreateTessera");
    if (tesseraCreateThrows) throw AutomationError(429, L"Objects", L"cannot create");
    if (tesseraMissing) return nullptr;
    applications.push_back(std::make_shared<FakeTesseraApplication>(script, log));
    return applications.back();
}

std::shared_ptr<TessappApplication> FakeObjectServices::LookUpTessera() {
    ++tesseraLookUps;
    if (tesseraLookUps <= failingLookUps) throw AutomationError(429, L"Objects", L"not running");
    if (tesseraFoundFromLookUp == 0 || tesseraLookUps < tesseraFoundFromLookUp) return nullptr;
    return application();
}

std::shared_ptr<LateBoundObject> FakeObjectServices::CreateWord() {
    log->push_back("Objects.CreateWord");
    if (!wordCreatable) return nullptr;
    createdWords.push_back(std::make_shared<FakeWord>(log));
    return createdWords.back();
}

std::shared_ptr<LateBoundObject> FakeObjectServices::LookUpWord() {
    ++wordLookUps;
    if (wordLookUps <= failingLookUps) throw AutomationError(429, L"Objects", L"not running");
    if (wordFoundFromLookUp == 0) return runningWord;
    if (wordLookUps < wordFoundFromLookUp) return nullptr;
    if (!startingWord_) startingWord_ = std::make_shared<FakeWord>(log);
    return startingWord_;
}

int FakeObjectServices::Calls(const std::string& prefix) const {
    int count = 0;
    for (const auto& call : *log) count += call.rfind(prefix, 0) == 0 ? 1 : 0;
    return count;
}

std::vector<std::string> FakeObjectServices::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> calls;
    for (const auto& call : *log)
        if (call.rfind(prefix, 0) == 0) calls.push_back(call);
    return calls;
}

std::set<std::string> FileNamesIn(const std::filesystem::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

}  // namespace orv::test
