#pragma once
// A TessappTM served by name: IsOpen, Open, Close, SourceLanguage, TargetLanguages (an
// array of Variants holding Longs), TargetLanguage (put) and ExecuteJobFile. Every member
// converts its arguments and forwards to the C++ TM; nothing is decided here.

#include <memory>

#include "com/objects/NamedDispatchObject.h"
#include "com/standin/ApplicationPresence.h"
#include "tessera/TessappTM.h"

namespace orv::com {

class TMObject final : public objects::NamedDispatchObject {
public:
    TMObject(std::shared_ptr<TessappTM> tm, std::shared_ptr<const ApplicationPresence> presence);

    const std::shared_ptr<TessappTM>& tm() const noexcept { return tm_; }

protected:
    void* OtherInterface(REFIID iid) override;
    bool Disconnected() const override { return presence_->quit; }

private:
    std::shared_ptr<TessappTM> tm_;
    std::shared_ptr<const ApplicationPresence> presence_;
};

}  // namespace orv::com
