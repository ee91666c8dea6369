#pragma once
// The component's link to Tessera: starts and closes it, keeps Word running in the
// background on request, relays Tessera's cancel event, and prepares and runs one analysis
// (TM opening or a temporary TM, languages, the job run, the clean-up).
//
// Clients see StartTessera, CloseTessera and the event. The other members are
// component-internal: the automation layer does not publish them.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/StoredProperty.h"
#include "tessera/EventSource.h"
#include "tessera/ServiceSet.h"
#include "tessera/SessionProperties.h"
#include "tessera/TessappApplication.h"
#include "tessera/clsBATesseraSettings.h"

namespace orv {

class clsBATessera {
public:
    explicit clsBATessera(ServiceSet services = {});
    ~clsBATessera() = default;
    clsBATessera(const clsBATessera&) = delete;
    clsBATessera& operator=(const clsBATessera&) = delete;

    // True when an application object was held and has been told to quit.
    bool CloseTessera();
    // True when this call created the application object; 40001 when it cannot be created.
    bool StartTessera();

    // Tessera's cancel event, relayed unchanged on the same thread.
    EventSource<int32_t> OnBatchCancelledByUser;

    // --- component-internal -------------------------------------------------------------
    // Copies of BatchAnalyse's settings (SessionProperties.h), each stored unchanged.
    ORV_SESSION_PROPERTIES(ORV_STORED_PROPERTY)

public:
    const std::shared_ptr<clsBATesseraSettings>& get_BATesserasettings() const { return settings_; }
    void putref_BATesserasettings(std::shared_ptr<clsBATesseraSettings> vData) {
        settings_ = std::move(vData);
    }

    // Writes the option set (when held) into Tessera, then runs the job file; 40002 when
    // Tessera fails to run it. An option write that Tessera refuses reaches the caller as is.
    bool RunJob(const std::wstring& jobFilePath);
    // Closes the current TM when one is open; never reports a failure.
    bool CloseTM();
    // Creates an empty TM under a fresh temporary name, falling back to 1033/2057 when
    // Tessera refuses the languages asked for; 40007 when both attempts fail.
    bool CreateTemporaryTM();
    // Deletes every file of the temporary TM; never reports a failure.
    bool DeleteTemporaryTM();
    // Starts Word in the background when asked to and no Word is held yet.
    void StartWord();
    // Opens the TM for writing; 40016 for a wrong password, 40006 for any other failure.
    bool OpenTM();
    // Checks and selects the languages: 40008 (target), 40009 (source).
    bool SetUpLanguages();
    // Quits the Word this object started, if any.
    void QuitWord();

    // The application object held, or none (for the component and its tests).
    const std::shared_ptr<TessappApplication>& application() const { return mobjTxApplication_; }

private:
    void SetApplication(std::shared_ptr<TessappApplication> application);
    bool TryCreateTM(int32_t sourceLanguage, int32_t targetLanguage);

    ServiceSet services_;
    std::shared_ptr<clsBATesseraSettings> settings_;
    std::shared_ptr<LateBoundObject> word_;
    std::shared_ptr<TessappApplication> mobjTxApplication_;
    // Ends with the object (or with a change of application), so Tessera never calls into
    // a session that is gone.
    Subscription applicationEvents_;
};

}  // namespace orv
