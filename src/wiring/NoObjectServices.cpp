// The object services of a build that can reach no Tessera and no Word: every creation and
// look-up fails as it does on a machine where neither is installed. The core's own tests link
// this, so a test that forgets to hand in its fakes fails with 40001 instead of reaching a
// real application.
#include "platform/AutomationError.h"
#include "tessera/ObjectServices.h"

namespace orv {
namespace {

class NoObjectServices : public ObjectServices {
public:
    std::shared_ptr<TessappApplication> CreateTessera() override {
        RaiseRuntimeError(kErrCannotCreateObject);
    }
    std::shared_ptr<TessappApplication> LookUpTessera() override { return nullptr; }
    std::shared_ptr<LateBoundObject> CreateWord() override {
        RaiseRuntimeError(kErrCannotCreateObject);
    }
    std::shared_ptr<LateBoundObject> LookUpWord() override { return nullptr; }
};

}  // namespace

std::shared_ptr<ObjectServices> DefaultObjectServices() {
    static const std::shared_ptr<ObjectServices> services = std::make_shared<NoObjectServices>();
    return services;
}

}  // namespace orv
