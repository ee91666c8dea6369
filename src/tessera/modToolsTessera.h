#pragma once
// The waits and window handling that reach Tessera and Word. The waits are loops over the
// platform's Sleep and message processing, never a raw sleep, so tests run them instantly.

#include <memory>

#include "platform/Platform.h"
#include "tessera/ObjectServices.h"
#include "tessera/TessappApplication.h"

namespace orv::modTools {

// How often and how long the waits for a running application retry.
inline constexpr int kLookUpRetries = 25;
inline constexpr uint32_t kLookUpPauseMilliseconds = 1000;

// Waits, up to 25 pauses of one second, until a running Tessera can be reached; returns it,
// or none. Never raises.
std::shared_ptr<TessappApplication> GetTesseraApplication(ObjectServices& objects,
                                                          Platform& platform);

// Brings Tessera's main window (class "Tessapp2Class") to the front; with no such window the
// platform is handed the null handle, which does nothing.
void ActivateTesseraWindow(Platform& platform);

// The same wait as GetTesseraApplication, for Word.
std::shared_ptr<LateBoundObject> GetWordApplication(ObjectServices& objects, Platform& platform);

}  // namespace orv::modTools
