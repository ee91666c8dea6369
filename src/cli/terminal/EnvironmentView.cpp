#include "cli/terminal/EnvironmentView.h"

#include <cstdlib>
#include <utility>

namespace orv::cli {

EnvironmentView ProcessEnvironment() {
    return [](const std::string& name) -> std::optional<std::string> {
        // getenv would read a name with a NUL in it as a shorter, different name.
        if (name.find('\0') != std::string::npos) return std::nullopt;
        const char* value = std::getenv(name.c_str());
        if (value == nullptr) return std::nullopt;
        return std::string(value);
    };
}

EnvironmentView FixedEnvironment(std::map<std::string, std::string> variables) {
    return
        [variables = std::move(variables)](const std::string& name) -> std::optional<std::string> {
            auto found = variables.find(name);
            if (found == variables.end()) return std::nullopt;
            return found->second;
        };
}

}  // namespace orv::cli
