#include "tessera/modToolsTessera.h"

#include "platform/AutomationError.h"

namespace orv::modTools {
namespace {

// A failed look-up counts as "not running yet"; the wait never raises.
template <typename LookUp>
auto LookUpWithRetries(LookUp lookUp, Platform& platform) -> decltype(lookUp()) {
    auto attempt = [&] {
        decltype(lookUp()) found;
        try {
            found = lookUp();
        } catch (...) {
        }
        platform.ProcessMessages();
        return found;
    };
    platform.ProcessMessages();
    auto found = attempt();
    for (int retry = 0; !found && retry < kLookUpRetries; ++retry) {
        platform.Sleep(kLookUpPauseMilliseconds);
        found = attempt();
    }
    return found;
}

}  // namespace

std::shared_ptr<TessappApplication> GetTesseraApplication(ObjectServices& objects,
                                                          Platform& platform) {
    return LookUpWithRetries([&] { return objects.LookUpTessera(); }, platform);
}

void ActivateTesseraWindow(Platform& platform) {
    platform.SetForegroundWindow(platform.FindWindowByClass(L"Tessapp2Class"));
}

std::shared_ptr<LateBoundObject> GetWordApplication(ObjectServices& objects, Platform& platform) {
    return LookUpWithRetries([&] { return objects.LookUpWord(); }, platform);
}

}  // namespace orv::modTools
