#pragma once
// HKEY_LOCAL_MACHINE of this process redirected to a temporary key for one
// test, so that Internet Explorer's registration can be made and removed at
// will.
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>

namespace FoundationTests {

class MachineKeyOverride {
public:
    static constexpr const wchar_t* kInternetExplorerServerKey =
        L"SOFTWARE\\Classes\\CLSID\\{0002DF01-0000-0000-C000-000000000046}\\LocalServer32";

    MachineKeyOverride() { EXPECT_EQ(ERROR_SUCCESS, ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key.Handle())); }
    ~MachineKeyOverride() { ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr); }
    MachineKeyOverride(const MachineKeyOverride&) = delete;
    MachineKeyOverride& operator=(const MachineKeyOverride&) = delete;

    // Null: no LocalServer32 key at all.
    void RegisterInternetExplorer(const wchar_t* value) {
        ::RegDeleteTreeW(m_key.Handle(), L"SOFTWARE");
        if (!value)
            return;
        HKEY server = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, ::RegCreateKeyExW(m_key.Handle(), kInternetExplorerServerKey, 0, nullptr, 0,
                                                   KEY_WRITE, nullptr, &server, nullptr));
        const DWORD bytes = static_cast<DWORD>((std::wcslen(value) + 1) * sizeof(wchar_t));
        ::RegSetValueExW(server, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
        ::RegCloseKey(server);
    }

private:
    Testing::TempRegistryKey m_key;
};

}  // namespace FoundationTests
