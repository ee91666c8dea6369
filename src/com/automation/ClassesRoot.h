#pragma once
// The registry entries of COM classes, under HKEY_CLASSES_ROOT, as every self-registering
// server of the project writes and removes them; and the texts they are keyed by.

#include <windows.h>

#include <string>

namespace orv::com {

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", as the registry names class ids.
std::wstring GuidText(REFGUID guid);

// Sets the value `name` (nullptr: the default value) of `key`, creating the key.
HRESULT SetClassesRootValue(const std::wstring& key, const wchar_t* name,
                            const std::wstring& value);
// The text value `name` (nullptr: the default value) of `key`; empty when there is none.
std::wstring ClassesRootValue(const std::wstring& key, const wchar_t* name = nullptr);
bool ClassesRootKeyExists(const std::wstring& key);
// Removes `key` with everything below it; a key already missing is no failure.
HRESULT DeleteClassesRootTree(const std::wstring& key);

}  // namespace orv::com
