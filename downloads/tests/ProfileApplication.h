#pragma once
// The one application object of these tests: the framework's application
// with its profile under a temporary registry key of its own. One exists at
// a time; a test without one sees no application at all.
#include "appframework/application/ApplicationBaseLite.h"
#include "appframework/tests/TestApplication.h"
#include "downloads/tests/ListStrings.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "testing/ResourceFolder.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace DownloadsTests {

// The process's resource manager over a folder of its own (languages en-us,
// the default, and de-de), set up once before anything asks for it.
inline void UseTestResources() {
    static Testing::TempFolder* const pFolder = [] {
        Testing::TempFolder* pResources = new Testing::TempFolder;  // lives as long as the process
        pResources->WriteFile(L"Metadata.xml", ResourceTesting::kStandardMetadata);
        // The texts of the list's rows, menus and questions.
        pResources->WriteFile(L"Common\\Resources.xml", ResourceTesting::ResourcesXml(kListStrings));
        // The download list's column titles, as the language files hold them.
        pResources->WriteFile(L"en-us\\Resources.xml",
                              ResourceTesting::ResourcesXml(R"(<String name="VideoFileColumn" value="Video"/>)"
                                                            R"(<String name="ProgressColumn" value="Progress"/>)"
                                                            R"(<String name="DownloadInfoColumn" value="Info"/>)"
                                                            R"(<String name="AdditionalInfoColumn" value="More"/>)"));
        AppResources::ResourceManagerHolder::InitializeApplication(pResources->Path(), {});
        return pResources;
    }();
    (void)pFolder;
}

// Built before the application, which keeps a reference to it.
struct ProfileProduct {
    AppFrameworkTests::TestProduct product{L"Brunlow Downloads Tests"};
};

class ProfileApplication : private ProfileProduct, public ApplicationFramework::ApplicationBaseLite {
public:
    ProfileApplication() : ApplicationBaseLite(product.info, nullptr) {
        UseTestResources();
        // "Software\<key>" is the temporary key; the profile adds the application's name.
        const std::wstring key = m_key.SubKey().substr(std::wstring(L"Software\\").size());
        SetRegistryKey(key.c_str());
    }

    bool Initialize() override { return true; }
    bool StartApplication() override { return true; }

    // The key below "Software" that SetRegistryKey was given.
    std::wstring RegistryKey() const { return m_key.SubKey().substr(std::wstring(L"Software\\").size()); }

    // The registry path of a profile section, below HKEY_CURRENT_USER.
    std::wstring SectionPath(const std::wstring& section) const {
        return m_key.SubKey() + L"\\" + m_pszProfileName + L"\\" + section;
    }

    // A raw value of a section: its type and bytes, nullopt when absent.
    struct RawValue {
        DWORD type = 0;
        std::vector<BYTE> bytes;
    };
    std::optional<RawValue> ReadRaw(const std::wstring& section, const std::wstring& name) const {
        RawValue value;
        DWORD size = 0;
        const std::wstring path = SectionPath(section);
        if (::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &value.type,
                           nullptr, &size) != ERROR_SUCCESS)
            return std::nullopt;
        value.bytes.resize(size);
        if (size && ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name.c_str(), RRF_RT_ANY | RRF_NOEXPAND,
                                   &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
            return std::nullopt;
        value.bytes.resize(size);
        return value;
    }
    bool HasValue(const std::wstring& section, const std::wstring& name) const {
        return ReadRaw(section, name).has_value();
    }
    bool HasSection(const std::wstring& section) const {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, SectionPath(section).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

private:
    Testing::TempRegistryKey m_key;
};

}  // namespace DownloadsTests
