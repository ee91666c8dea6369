#pragma once
// "OrvTestDoubles.Control" for C++ tests: the control's members (documented in
// tests/com/doubles/ControlObject.h) called by name. A failing call throws AutomationError,
// which fails the test that made it.

#include <cstdint>
#include <string>

#include "com/client/LateBoundDispatch.h"

namespace orv::test {

class DoublesControl {
public:
    // A new control object by its ProgID; throws when the doubles are not registered.
    DoublesControl();

    void Reset();
    void FailMember(const std::wstring& member, int32_t number,
                    const std::wstring& description = L"", int32_t times = -1);
    void RaiseBatchCancelled(int32_t processedFiles);
    int32_t CallCount(const std::wstring& call);

    void Set(const std::wstring& property, const std::wstring& value);
    void Set(const std::wstring& property, const wchar_t* value) {
        Set(property, std::wstring(value));
    }
    void Set(const std::wstring& property, int32_t value);
    void Set(const std::wstring& property, bool value);

    std::wstring Text(const std::wstring& property);
    int32_t Number(const std::wstring& property);
    bool Flag(const std::wstring& property);

private:
    com::LateBoundDispatch control_;
};

}  // namespace orv::test
