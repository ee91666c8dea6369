#include "platform/win32/Win32Platform.h"
#include "support/GermanNumberPlatform.h"

namespace orv::test {

std::shared_ptr<Platform> GermanNumberPlatform() {
    return std::make_shared<Win32Platform>(L"de-DE");
}

const char* const kGermanLocaleHint = "Windows does not know the locale de-DE";

}  // namespace orv::test
