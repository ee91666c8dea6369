#pragma once
// Read access to environment variables, handed to the code that depends on them so that
// tests can give it any environment without changing the process's own.

#include <functional>
#include <map>
#include <optional>
#include <string>

namespace orv::cli {

// The value of the variable `name`, or nullopt when it is not set. A variable that is set
// to the empty text gives an empty string, not nullopt: some variables mean something
// different in the two cases.
using EnvironmentView = std::function<std::optional<std::string>(const std::string& name)>;

// The environment of this process. Safe to call from any thread while nothing changes
// the environment.
EnvironmentView ProcessEnvironment();

// An environment holding exactly these variables.
EnvironmentView FixedEnvironment(std::map<std::string, std::string> variables);

}  // namespace orv::cli
