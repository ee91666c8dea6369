// What regsvr32 does with the server, in a registry of the test's own: HKEY_CLASSES_ROOT
// is redirected for this process to an empty key, so the test sees every entry the server
// writes, and that unregistration leaves none of them. (COM's own lookups do not follow the
// redirection; the script tests create objects from a real registration.)
#include <gtest/gtest.h>

#include <objbase.h>

#include <optional>
#include <set>
#include <string>

#include "ServerUnderTest.h"
#include "com/automation/ClassesRoot.h"

namespace orv::test {
namespace {

using com::GuidText;

class PrivateClassesRoot {
public:
    PrivateClassesRoot() {
        const std::wstring path =
            L"Software\\OrvBatchAnalyseTests\\" + std::to_wstring(GetCurrentProcessId());
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &root_, nullptr);
        path_ = path;
        overridden_ = RegOverridePredefKey(HKEY_CLASSES_ROOT, root_) == ERROR_SUCCESS;
    }
    ~PrivateClassesRoot() {
        RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
        RegCloseKey(root_);
        RegDeleteTreeW(HKEY_CURRENT_USER, path_.c_str());
    }
    bool overridden() const { return overridden_; }

    std::optional<std::wstring> Value(const std::wstring& key,
                                      const wchar_t* name = nullptr) const {
        wchar_t buffer[1024] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueW(root_, key.c_str(), name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        return std::wstring(buffer);
    }
    bool Exists(const std::wstring& key) const {
        HKEY opened = nullptr;
        if (RegOpenKeyExW(root_, key.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
        RegCloseKey(opened);
        return true;
    }
    // Every key below the root, as paths.
    std::set<std::wstring> AllKeys() const {
        std::set<std::wstring> keys;
        Collect(root_, L"", keys);
        return keys;
    }

private:
    static void Collect(HKEY key, const std::wstring& prefix, std::set<std::wstring>& keys) {
        wchar_t name[256];
        for (DWORD i = 0;; ++i) {
            DWORD length = 256;
            if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
                ERROR_SUCCESS)
                break;
            const std::wstring path = prefix + name;
            keys.insert(path);
            HKEY child = nullptr;
            if (RegOpenKeyExW(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
                Collect(child, path + L"\\", keys);
                RegCloseKey(child);
            }
        }
    }

    HKEY root_ = nullptr;
    std::wstring path_;
    bool overridden_ = false;
};

TEST(Registration, RegistersEveryCreatableClassAndTheLibraryAndUnregistrationRemovesEverything) {
    PrivateClassesRoot registry;
    ASSERT_TRUE(registry.overridden());
    ASSERT_EQ(ServerDll::Get().Register(), S_OK);
    const std::wstring dll = ServerDll::Get().Path();

    const struct {
        const CLSID* classId;
        const wchar_t* progId;
    } creatable[] = {
        {&CLSID_BatchAnalyse, L"OrvBatchAnalyse.BatchAnalyse"},
        {&CLSID_clsBAFileInfo, L"OrvBatchAnalyse.clsBAFileInfo"},
        {&CLSID_clsBATessera, L"OrvBatchAnalyse.clsBATessera"},
    };
    for (const auto& c : creatable) {
        const std::wstring key = L"CLSID\\" + GuidText(*c.classId);
        SCOPED_TRACE(testing::Message() << Narrow(c.progId));
        EXPECT_EQ(registry.Value(key + L"\\InprocServer32"), dll);
        EXPECT_EQ(registry.Value(key + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
        EXPECT_EQ(registry.Value(key + L"\\ProgID"), c.progId);
        EXPECT_EQ(registry.Value(key + L"\\TypeLib"), GuidText(LIBID_OrvBatchAnalyse));
        EXPECT_EQ(registry.Value(std::wstring(c.progId) + L"\\CLSID"), GuidText(*c.classId));
    }
    for (const CLSID* handedOut : {&CLSID_Files, &CLSID_clsBATesseraSettings})
        EXPECT_FALSE(registry.Exists(L"CLSID\\" + GuidText(*handedOut)))
            << "not creatable by clients";
    EXPECT_FALSE(registry.Exists(L"OrvBatchAnalyse.Files"));

    const std::wstring library = L"TypeLib\\" + GuidText(LIBID_OrvBatchAnalyse) + L"\\1.0";
    EXPECT_EQ(registry.Value(library + L"\\0\\win64"), dll);
    EXPECT_TRUE(registry.Exists(L"Interface\\" + GuidText(IID__BatchAnalyse)))
        << "the interfaces are registered for marshalling by the library";

    ASSERT_EQ(ServerDll::Get().Unregister(), S_OK);
    // The containers every registry has may stay, empty; nothing else.
    for (const auto& key : registry.AllKeys()) {
        if (_wcsicmp(key.c_str(), L"CLSID") == 0 || _wcsicmp(key.c_str(), L"Interface") == 0 ||
            _wcsicmp(key.c_str(), L"TypeLib") == 0) {
            continue;
        }
        ADD_FAILURE() << "left behind: " << Narrow(key);
    }
    EXPECT_EQ(ServerDll::Get().Unregister(), S_OK) << "twice is harmless";
}

}  // namespace
}  // namespace orv::test
