#pragma once
// The running system's own platform, reading and writing numbers as the German locale does
// (decimal comma), for tests of the real locale handling that are the same on every system.

#include <memory>

#include "platform/Platform.h"

namespace orv::test {

// A platform whose FormatNineTenths gives "0,9" when the system has the German locale; a
// test checks that first and says what is missing otherwise.
std::shared_ptr<Platform> GermanNumberPlatform();

// What to do when the German locale is missing, for the test's failure message.
extern const char* const kGermanLocaleHint;

}  // namespace orv::test
