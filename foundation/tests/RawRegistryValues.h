#pragma once
// Registry values written byte for byte, including forms the system accepts
// but readers must refuse (strings without their zero, short numbers), and a
// uniquely named HKLM key removed from both registry views afterwards.
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace FoundationTests {

struct RawValue {
    const wchar_t* name;
    DWORD type;
    std::vector<BYTE> data;
};

// The characters of `text`, and its zero when asked, as bytes.
inline std::vector<BYTE> TextBytes(const std::wstring& text, bool withZero) {
    const std::size_t size = (text.size() + (withZero ? 1 : 0)) * sizeof(wchar_t);
    std::vector<BYTE> bytes(size);
    std::memcpy(bytes.data(), text.c_str(), size);
    return bytes;
}

template <class T>
std::vector<BYTE> NumberBytes(T value, std::size_t size = sizeof(T)) {
    std::vector<BYTE> bytes(size);
    std::memcpy(bytes.data(), &value, size < sizeof(T) ? size : sizeof(T));
    return bytes;
}

inline void WriteRawValues(HKEY key, const std::vector<RawValue>& values) {
    for (const RawValue& value : values) {
        ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, value.name, 0, value.type, value.data.data(),
                                                static_cast<DWORD>(value.data.size())))
            << "value '" << value.name << "'";
    }
}

inline bool KeyExists(HKEY root, const std::wstring& path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// HKLM\Software\Brunlow Tests {guid}, created in neither view; whatever a test
// makes under that name is deleted from both the 32-bit and the 64-bit view.
class TempMachineKeyName {
public:
    TempMachineKeyName() : m_subKey(L"Software\\Brunlow Tests " + Testing::NewGuidText()) {}
    ~TempMachineKeyName() {
        DeleteIn(KEY_WOW64_64KEY);
        DeleteIn(KEY_WOW64_32KEY);
    }
    TempMachineKeyName(const TempMachineKeyName&) = delete;
    TempMachineKeyName& operator=(const TempMachineKeyName&) = delete;

    const std::wstring& SubKey() const { return m_subKey; }

private:
    void DeleteIn(REGSAM view) {
        HKEY software = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_ALL_ACCESS | view, &software) != ERROR_SUCCESS)
            return;
        const std::wstring name = m_subKey.substr(m_subKey.find(L'\\') + 1);
        RegDeleteTreeW(software, name.c_str());
        RegDeleteKeyW(software, name.c_str());
        RegCloseKey(software);
    }

    std::wstring m_subKey;
};

}  // namespace FoundationTests
