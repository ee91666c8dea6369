#include "DoublesState.h"

#include <algorithm>
#include <cwchar>

#include "TesseraApplicationDouble.h"
#include "TextFiles.h"
#include "WordApplicationDouble.h"

namespace orv::testdoubles {

std::wstring CsvLogFromEnvironment() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetEnvironmentVariableW(L"ORV_TEST_DOUBLES_CSV_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    try {
        return ReadAnsiTextFile(path);
    } catch (...) {
        // A test that named a file it did not make gets no log, and fails on that.
        return {};
    }
}

DoublesState& DoublesState::Instance() {
    // Never destroyed: at unload COM may be gone already, and the objects it holds would
    // call it.
    static DoublesState* state = new DoublesState();
    return *state;
}

std::optional<InjectedFailure> DoublesState::TakeFailure(const std::wstring& objectName,
                                                         const std::wstring& member) {
    std::lock_guard lock(mutex_);
    const std::wstring& wanted = settings_.failMember;
    if (wanted.empty() || settings_.failTimes == 0) return std::nullopt;
    const std::wstring qualified = objectName + L"." + member;
    if (_wcsicmp(wanted.c_str(), member.c_str()) != 0 &&
        _wcsicmp(wanted.c_str(), qualified.c_str()) != 0)
        return std::nullopt;
    if (settings_.failTimes > 0) --settings_.failTimes;
    std::wstring description = settings_.failDescription;
    if (description.empty()) description = L"The test double was told to fail " + qualified;
    return InjectedFailure{settings_.failNumber, std::move(description)};
}

void DoublesState::RecordCall(std::wstring call) {
    std::lock_guard lock(mutex_);
    record_.calls.push_back(std::move(call));
}

void DoublesState::ApplicationCreated(TesseraApplicationDouble* application) {
    std::lock_guard lock(mutex_);
    applications_.push_back(application);
}

void DoublesState::ApplicationDestroyed(TesseraApplicationDouble* application) {
    std::lock_guard lock(mutex_);
    std::erase(applications_, application);
}

std::vector<Microsoft::WRL::ComPtr<TesseraApplicationDouble>> DoublesState::RunningApplications() {
    std::lock_guard lock(mutex_);
    std::vector<Microsoft::WRL::ComPtr<TesseraApplicationDouble>> running;
    for (TesseraApplicationDouble* application : applications_)
        if (!application->HasQuit()) running.emplace_back(application);
    return running;
}

void DoublesState::WordCreated(WordApplicationDouble* word) {
    std::lock_guard lock(mutex_);
    words_.push_back(word);
}

void DoublesState::WordDestroyed(WordApplicationDouble* word) {
    std::lock_guard lock(mutex_);
    std::erase(words_, word);
}

void DoublesState::ConnectionsChanged(int delta) {
    std::lock_guard lock(mutex_);
    connections_ += delta;
}

int32_t DoublesState::Connections() {
    std::lock_guard lock(mutex_);
    return connections_;
}

void DoublesState::SetUserWordRunning(bool running) {
    if (running == UserWordRunning()) return;
    if (running) {
        auto word = WordApplicationDouble::StartedByUser();
        std::lock_guard lock(mutex_);
        userWord_ = std::move(word);
        return;
    }
    Microsoft::WRL::ComPtr<WordApplicationDouble> word;
    {
        std::lock_guard lock(mutex_);
        word = std::move(userWord_);
    }
    // Ended and released outside the lock: the last release runs the double's destructor.
    word->EndQuietly();
}

bool DoublesState::UserWordRunning() {
    std::lock_guard lock(mutex_);
    return userWord_ != nullptr;
}

void DoublesState::Reset() {
    for (const auto& application : RunningApplications()) application->Quit();
    SetUserWordRunning(false);
    std::vector<Microsoft::WRL::ComPtr<WordApplicationDouble>> words;
    {
        std::lock_guard lock(mutex_);
        for (WordApplicationDouble* word : words_)
            if (!word->HasQuit()) words.emplace_back(word);
    }
    for (const auto& word : words) word->EndQuietly();
    std::lock_guard lock(mutex_);
    settings_ = DoublesSettings{};
    record_ = DoublesRecord{};
}

}  // namespace orv::testdoubles
