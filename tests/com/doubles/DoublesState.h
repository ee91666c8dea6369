#pragma once
// The one state of the doubles in a process: what the test asked them to do (Settings) and
// what they were asked to do (Record), plus the objects alive right now. The control object
// reads and writes it; every double consults it. Access is serialised by one lock, which is
// never held while calling out of the state (into a client's sink or another object).

#include <windows.h>

#include <wrl/client.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace orv::testdoubles {

class TesseraApplicationDouble;
class WordApplicationDouble;

// The CSV log a fresh double writes: the text of the file that the environment variable
// ORV_TEST_DOUBLES_CSV_LOG names, else none. It lets a script that cannot reach the control
// in its own process, such as an example run as it stands, get a log all the same.
std::wstring CsvLogFromEnvironment();

struct DoublesSettings {
    // ExecuteJobFile writes these texts as the analysis log and its CSV log file; {LogFile}
    // and {File1}..{FileN} become the job's paths.
    std::wstring analysisLog = L"Analysis log written by the test double\r\n";
    std::wstring csvLog = CsvLogFromEnvironment();
    bool writeCsvLog = true;

    // A member that fails ("Open" or "TM.Open"), how, and how many times (-1: every time).
    std::wstring failMember;
    int32_t failNumber = 50001;
    std::wstring failDescription;
    int32_t failTimes = -1;

    // ExecuteJobFile raises OnBatchCancelledByUser with this number first (-1: no event).
    int32_t cancelProcessedFiles = -1;
    // The dispatch id the application fires the event with, and whether its argument comes
    // by reference.
    int32_t eventDispId = 1;
    bool eventByReference = false;

    // The class factories fail with these HRESULTs (0: the class can be created).
    int32_t tesseraCreationError = 0;
    int32_t wordCreationError = 0;

    // The languages of a TM that Open opens.
    int32_t tmSourceLanguage = 1033;
    std::wstring tmTargetLanguages = L"1031,1036";
    // The shape of TargetLanguages: "Variant", "Long" or "Integer" elements, lower bound,
    // and whether the result refers to the array (VT_BYREF) instead of holding it.
    std::wstring targetLanguagesType = L"Variant";
    int32_t targetLanguagesLowerBound = 0;
    bool targetLanguagesByReference = false;
    // Open refuses any other password with error 50003 (empty: any password).
    std::wstring tmPassword;
};

struct DoublesRecord {
    int32_t tesseraCreated = 0;
    int32_t tesseraQuit = 0;
    int32_t wordCreated = 0;
    int32_t wordQuit = 0;
    int32_t tmOpened = 0;
    int32_t tmClosed = 0;
    int32_t tmCreated = 0;
    int32_t jobFilesRun = 0;
    int32_t tmTargetLanguage = 0;
    std::wstring lastJobFile;
    std::wstring lastOpenArgs;
    std::wstring lastCreateTMArgs;
    // "Object.Member" for every call of a double ("Object.Member=" for a put), in order.
    std::vector<std::wstring> calls;
    // "Group.Property=value" for every option written, in order.
    std::vector<std::wstring> optionWrites;
};

// What a failing call raises.
struct InjectedFailure {
    int32_t number;
    std::wstring description;
};

class DoublesState {
public:
    static DoublesState& Instance();

    // Runs `f` on the settings and the record under the lock; `f` must not call out.
    template <typename F>
    auto With(F&& f) {
        std::lock_guard lock(mutex_);
        return f(settings_, record_);
    }

    // The failure the test asked for on this member, if any; counts it down.
    std::optional<InjectedFailure> TakeFailure(const std::wstring& objectName,
                                               const std::wstring& member);
    void RecordCall(std::wstring call);

    void ApplicationCreated(TesseraApplicationDouble* application);
    void ApplicationDestroyed(TesseraApplicationDouble* application);
    // The applications that have not quit, each held for the caller.
    std::vector<Microsoft::WRL::ComPtr<TesseraApplicationDouble>> RunningApplications();
    void WordCreated(WordApplicationDouble* word);
    void WordDestroyed(WordApplicationDouble* word);
    void ConnectionsChanged(int delta);
    int32_t Connections();

    // A Word that "the user started": registered as running, neither created nor quit by
    // the component.
    void SetUserWordRunning(bool running);
    bool UserWordRunning();

    // Back to a fresh state: settings and record as new, every application and Word still
    // running ended (so the running object table is empty again).
    void Reset();

private:
    DoublesState() = default;

    std::mutex mutex_;
    DoublesSettings settings_;
    DoublesRecord record_;
    std::vector<TesseraApplicationDouble*> applications_;
    std::vector<WordApplicationDouble*> words_;
    int32_t connections_ = 0;
    Microsoft::WRL::ComPtr<WordApplicationDouble> userWord_;
};

}  // namespace orv::testdoubles
