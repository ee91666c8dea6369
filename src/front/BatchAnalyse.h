#pragma once
// The class a client creates to run a batch analysis: every parameter of an analysis as a
// property, the collection of document records, two labels for the client's own use and the
// CSV result texts of the last analysis. Properties store what they are given; checks
// happen when an analysis runs.

#include <cstdint>
#include <memory>
#include <string>

#include "front/TsExportFileType.h"
#include "jobfile/JobFileProperties.h"
#include "platform/AutomationError.h"
#include "platform/StoredProperty.h"
#include "results/Files.h"
#include "tessera/EventSource.h"
#include "tessera/ServiceSet.h"
#include "tessera/SessionProperties.h"
#include "tessera/clsBATessera.h"
#include "tessera/clsBATesseraSettings.h"

namespace orv {

class clsJobFile;
class clsLogFileParser;

class BatchAnalyse {
public:
    // Services left empty are the running system's.
    explicit BatchAnalyse(ServiceSet services = {});
    ~BatchAnalyse();
    BatchAnalyse(const BatchAnalyse&) = delete;
    BatchAnalyse& operator=(const BatchAnalyse&) = delete;

    // Runs the whole batch: validation, Tessera, the TM, the job file, the options, the job
    // run and the parse of its log. Returns true, or raises the first failing step's error
    // unchanged after the clean-up (TM closed, temporary TM and job file deleted, Tessera
    // closed when this call started it).
    bool Analyse();

    // The option set, created on first read; used by Analyse only when WasInitialised.
    std::shared_ptr<clsBATesseraSettings> get_BATesserasettings();
    void putref_BATesserasettings(std::shared_ptr<clsBATesseraSettings> vData) {
        settings_ = std::move(vData);
    }

    // The session with Tessera. A first read creates it and copies the properties into it;
    // a put holds the given session (releasing, not closing, the previous one).
    std::shared_ptr<clsBATessera> get_BATessera();
    void putref_BATessera(std::shared_ptr<clsBATessera> vData);

    // True when this call created the session; Tessera's own failure (40001) passes on.
    bool StartTessera();
    // Closes Tessera through the held session, if any, and lets the session go. Always true.
    bool CloseTessera();

    // The session's cancel event, relayed unchanged on the same thread.
    EventSource<int32_t> OnBatchAnalysisCancelledByUser;

    // The collection is created on first read; every read gives the same object. Putting
    // none makes the next read create a new, empty one.
    std::shared_ptr<Files> get_Files();
    void putref_Files(std::shared_ptr<Files> vData) { files_ = std::move(vData); }

    // The analysis settings, each stored unchanged: those that go to the session, those
    // that go to the job file, and the choice of an empty temporary TM.
    ORV_SESSION_PROPERTIES(ORV_STORED_PROPERTY)
    ORV_JOB_FILE_PROPERTIES(ORV_STORED_PROPERTY)
    ORV_STORED_PROPERTY(bool, CreateEmptyTM)

public:
    // The raw analysis log is not offered: always "not implemented".
    std::wstring GetLogFileContent() const { return L"not implemented"; }
    // The CSV texts of the last analysis that got as far as reading its log; empty before.
    const std::wstring& GetCsvLogFileContentWithoutHeader() const { return csvWithoutHeader_; }
    const std::wstring& GetCsvLogFileContent() const { return csv_; }

    // Labels for the client's own use; nothing in the component reads them.
    const std::wstring& get_Name() const { return name_; }
    void put_Name(const std::wstring& vData) { name_ = vData; }
    const std::wstring& get_Key() const { return key_; }
    void put_Key(const std::wstring& vData) { key_ = vData; }

private:
    bool ValidateProperties();
    std::unique_ptr<clsJobFile> CreateJobFileWriter();
    std::unique_ptr<clsLogFileParser> CreateLogFileParser();
    std::shared_ptr<clsBATessera> CreateTesseraSession();
    void HoldSession(std::shared_ptr<clsBATessera> session);
    void PassPropertiesToTessera();

    ServiceSet services_;
    std::shared_ptr<Files> files_;
    std::shared_ptr<clsBATesseraSettings> settings_;
    std::shared_ptr<clsBATessera> mobjBATessera_;

    std::wstring name_;
    std::wstring key_;
    std::wstring csv_;
    std::wstring csvWithoutHeader_;

    // Ends when the session is let go (or this object dies), so a session that a client
    // still holds never calls into a destroyed object.
    Subscription sessionEvents_;
};

}  // namespace orv
