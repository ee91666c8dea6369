#include <stdlib.h>

#include "support/ScopedEnvironmentVariable.h"

namespace orv::test {

void SetProcessEnvironment(const std::string& name, const std::optional<std::string>& value) {
    // _putenv_s changes the system's environment block as well as the C library's copy; an
    // empty value removes the variable.
    _putenv_s(name.c_str(), value ? value->c_str() : "");
}

}  // namespace orv::test
