#include "platform/posix/PosixPlatform.h"
#include "support/GermanNumberPlatform.h"

namespace orv::test {

std::shared_ptr<Platform> GermanNumberPlatform() {
    return std::make_shared<PosixPlatform>("de_DE.UTF-8");
}

const char* const kGermanLocaleHint = "the locale de_DE.UTF-8 is missing: run `make locale`";

}  // namespace orv::test
