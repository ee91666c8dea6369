#pragma once
// How the engine reports a failure: an AutomationError whose description says in words what
// is wrong. The component reads "50000" and "50003" in a description as a wrong password or
// an unknown user, so every other description is kept free of them, even when it quotes a
// path or a number that happens to contain those digits.

#include <cstdint>
#include <string>

namespace orv::engine {

// The number of every engine failure that is not a wrong password or an unknown user.
inline constexpr int32_t kEngineFailure = 50001;

// `text` with a WORD JOINER (U+2060, invisible) after the "5000" of any "50000" or "50003".
std::wstring WithoutPasswordCodes(std::wstring text);

// Throws AutomationError(kEngineFailure, engine source, WithoutPasswordCodes(description)).
[[noreturn]] void RaiseEngineError(const std::wstring& description);

}  // namespace orv::engine
