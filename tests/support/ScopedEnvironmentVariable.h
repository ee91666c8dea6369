#pragma once
// An environment variable of this process set (or removed) until the end of a scope, then put
// back as it was; seen by the C library and by the system's own calls alike.

#include <optional>
#include <string>

namespace orv::test {

// Sets `name` to `value`, or removes it for nullopt. One implementation a system.
void SetProcessEnvironment(const std::string& name, const std::optional<std::string>& value);

class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(std::string name, const std::optional<std::string>& value);
    ~ScopedEnvironmentVariable() { SetProcessEnvironment(name_, old_); }
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace orv::test
