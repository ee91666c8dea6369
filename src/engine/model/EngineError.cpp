#include "engine/model/EngineError.h"

#include "platform/AutomationError.h"

namespace orv::engine {

std::wstring WithoutPasswordCodes(std::wstring text) {
    for (std::size_t at = text.find(L"5000"); at != std::wstring::npos;
         at = text.find(L"5000", at + 1)) {
        if (at + 4 < text.size() && (text[at + 4] == L'0' || text[at + 4] == L'3'))
            text.insert(at + 4, 1, L'\u2060');
    }
    return text;
}

void RaiseEngineError(const std::wstring& description) {
    throw AutomationError(kEngineFailure, L"OrvBatchAnalyse engine",
                          WithoutPasswordCodes(description));
}

}  // namespace orv::engine
