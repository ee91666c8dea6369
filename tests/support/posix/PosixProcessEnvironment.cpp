#include <stdlib.h>

#include "support/ScopedEnvironmentVariable.h"

namespace orv::test {

void SetProcessEnvironment(const std::string& name, const std::optional<std::string>& value) {
    value ? ::setenv(name.c_str(), value->c_str(), 1) : ::unsetenv(name.c_str());
}

}  // namespace orv::test
