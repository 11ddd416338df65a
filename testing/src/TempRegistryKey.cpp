#include "testing/TempRegistryKey.h"

#include <objbase.h>

#include <stdexcept>

namespace Testing {

std::wstring NewGuidText() {
    GUID guid;
    if (FAILED(CoCreateGuid(&guid)))
        throw std::runtime_error("CoCreateGuid failed");
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

TempRegistryKey::TempRegistryKey() : m_subKey(L"Software\\Brunlow Tests\\" + NewGuidText()) {
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                        nullptr) != ERROR_SUCCESS)
        throw std::runtime_error("cannot create the test registry key");
}

TempRegistryKey::~TempRegistryKey() {
    RegCloseKey(m_key);
    RegDeleteTreeW(HKEY_CURRENT_USER, m_subKey.c_str());
}

}  // namespace Testing
