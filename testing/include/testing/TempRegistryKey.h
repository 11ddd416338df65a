#pragma once
#include <windows.h>
#include <string>

namespace Testing {

// A uniquely named key under HKCU\Software\Brunlow Tests, deleted with its
// subtree on destruction.
class TempRegistryKey {
public:
    TempRegistryKey();
    ~TempRegistryKey();
    TempRegistryKey(const TempRegistryKey&) = delete;
    TempRegistryKey& operator=(const TempRegistryKey&) = delete;

    // Path below HKEY_CURRENT_USER.
    const std::wstring& SubKey() const { return m_subKey; }
    HKEY Handle() const { return m_key; }

private:
    std::wstring m_subKey;
    HKEY m_key = nullptr;
};

std::wstring NewGuidText();

}  // namespace Testing
