#pragma once
// The TM object of the Tessera double: closed until Open or CreateTM, closed again by Close,
// and always the same object for its application. Open needs an existing file and takes its
// languages from the doubles' settings; ExecuteJobFile reads the job file, may raise the
// application's cancel event, then writes the analysis log and its CSV log file with the
// texts the test chose.

#include <cstdint>
#include <memory>
#include <vector>

#include "ApplicationLink.h"
#include "DispatchObject.h"

namespace orv::testdoubles {

class TesseraTMDouble final : public DispatchObject {
public:
    explicit TesseraTMDouble(std::shared_ptr<ApplicationLink> link);

    // The TM that CreateTM has just made: open, in exactly these two languages.
    void BecomeCreated(int32_t sourceLanguage, int32_t targetLanguage);

protected:
    bool Disconnected() const override { return !link_->connected(); }

private:
    void Open(DispatchCall& call);
    void Close(DispatchCall& call);
    void GetTargetLanguages(DispatchCall& call) const;
    void PutTargetLanguage(DispatchCall& call);
    void ExecuteJobFile(DispatchCall& call);
    void RequireOpen() const;

    std::shared_ptr<ApplicationLink> link_;
    bool open_ = false;
    int32_t sourceLanguage_ = 0;
    std::vector<int32_t> targetLanguages_;
    // What the last TargetLanguages handed out by reference refers to.
    mutable OwnedVariant handedOut_;
};

}  // namespace orv::testdoubles
