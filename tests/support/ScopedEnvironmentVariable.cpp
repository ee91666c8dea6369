#include "support/ScopedEnvironmentVariable.h"

#include <cstdlib>
#include <utility>

namespace orv::test {

ScopedEnvironmentVariable::ScopedEnvironmentVariable(std::string name,
                                                     const std::optional<std::string>& value)
    : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    SetProcessEnvironment(name_, value);
}

}  // namespace orv::test
