#include "updater/settings/UpdaterSettings.h"

#include "foundation/filesystem/File.h"
#include "foundation/filesystem/ShellFolders.h"
#include "foundation/registry/Key.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/system/Locale.h"
#include "updater/settings/UpdaterStringIds.h"

#include <atlstr.h>
#include <shellapi.h>

#include <algorithm>

namespace {

const wchar_t kBrandSuffixToken[] = L"/URLBrandSuffix/";

UpdaterSettings* s_pInstance = nullptr;

std::wstring LoadTableString(unsigned id) {
    CStringW text;
    return text.LoadString(id) ? std::wstring(text.GetString()) : std::wstring();
}

std::wstring ReadUserString(const std::wstring& keyPath, const wchar_t* name) {
    Registry::Key key(Registry::ToRootKey(HKEY_CURRENT_USER), keyPath);
    return key.GetString(name, L"", true);
}

}  // namespace

UpdaterSettings::UpdaterSettings() {
    ParseCommandLine(::GetCommandLineW());
    if (!s_pInstance) {
        s_pInstance = this;
        m_isInstance = true;
    }
}

UpdaterSettings::UpdaterSettings(const wchar_t* commandLine) {
    ParseCommandLine(commandLine);
}

UpdaterSettings::~UpdaterSettings() {
    if (m_isInstance)
        s_pInstance = nullptr;
}

UpdaterSettings& UpdaterSettings::Instance() {
    if (s_pInstance)
        return *s_pInstance;
    static UpdaterSettings s_fromCommandLine(::GetCommandLineW());
    return s_fromCommandLine;
}

void UpdaterSettings::ParseCommandLine(const wchar_t* commandLine) {
    // CommandLineToArgvW turns an empty text into the program's own path.
    if (!commandLine || !*commandLine)
        return;
    int count = 0;
    LPWSTR* arguments = ::CommandLineToArgvW(commandLine, &count);
    if (!arguments)
        return;
    m_arguments.assign(arguments, arguments + count);
    ::LocalFree(arguments);
}

std::wstring UpdaterSettings::_FindSwitchValue(const std::wstring& switchText, bool skipFirst) const {
    // A matching last element has no follower: the scan goes on past it,
    // which ends the scan.
    for (size_t i = skipFirst ? 1 : 0; i + 1 < m_arguments.size(); ++i) {
        if (STLHelpers::IsEqualNoCase(m_arguments[i], switchText))
            return m_arguments[i + 1];
    }
    return std::wstring();
}

bool UpdaterSettings::HasSwitch(const std::wstring& switchText) const {
    return std::any_of(m_arguments.begin() + std::min<size_t>(1, m_arguments.size()), m_arguments.end(),
                       [&](const std::wstring& argument) { return STLHelpers::IsEqualNoCase(argument, switchText); });
}

std::wstring UpdaterSettings::GetValue(const std::wstring& key, unsigned stringId) {
    const auto found = m_memo.find(key);
    if (found != m_memo.end())
        return found->second;
    std::wstring value = _FindSwitchValue(L"/" + key);
    if (value.empty())
        value = LoadTableString(stringId);
    m_memo[key] = value;
    return value;
}

std::wstring UpdaterSettings::GetProductName() {
    return GetValue(L"productName", IDS_UPDATER_PRODUCT_NAME);
}

std::wstring UpdaterSettings::GetProductCompanyName() {
    return GetValue(L"productCompanyName", IDS_UPDATER_PRODUCT_COMPANY_NAME);
}

std::wstring UpdaterSettings::GetProductExecutable() {
    return GetValue(L"productExecutable", IDS_UPDATER_PRODUCT_EXECUTABLE);
}

std::wstring UpdaterSettings::GetBundleName() {
    return GetValue(L"bundleName", IDS_UPDATER_BUNDLE_NAME);
}

std::wstring UpdaterSettings::GetProductURL() {
    return ApplyBrandSuffix(GetValue(L"productURL", IDS_UPDATER_PRODUCT_URL));
}

std::wstring UpdaterSettings::GetDownloadURL() {
    std::wstring url = _FindSwitchValue(L"/downloadURL");
    if (url.empty())
        url = ReadUserString(L"Software\\" + GetBundleName() + L"\\" + GetProductName(), L"DownloadURL");
    if (url.empty())
        url = LoadTableString(IDS_UPDATER_DOWNLOAD_URL);
    return ApplyBrandSuffix(url);
}

std::wstring UpdaterSettings::ApplyBrandSuffix(const std::wstring& text) {
    if (text.find(kBrandSuffixToken) == std::wstring::npos)
        return text;
    return STLHelpers::ReplaceAllCopy(text, kBrandSuffixToken, _GetBrandSuffix());
}

std::wstring UpdaterSettings::_GetBrandSuffix() {
    const std::wstring value = ReadUserString(L"Software\\" + GetProductName(), L"SetupNameSuffix");
    return value == L"48ROV" ? L"_48" : L"_" + value;
}

std::wstring UpdaterSettings::GetComponentName() const {
    const std::wstring name = _FindSwitchValue(L"/componentName");
    return name.empty() ? L"Automatic Update" : name;
}

std::wstring UpdaterSettings::GetLanguageName() const {
    const std::wstring name = _FindSwitchValue(L"/languageName");
    return name.empty() ? System::GetUILanguageName() : name;
}

bool UpdaterSettings::IsSilent() const {
    return _FindSwitchValue(L"/isSilent") != L"0";
}

bool UpdaterSettings::IsRunWithProduct() const {
    return HasSwitch(L"/runWithProduct");
}

std::wstring UpdaterSettings::GetProductVersion() {
    const FileSystem::File product = FileSystem::GetApplicationFolder().GetFile(GetProductExecutable());
    // A missing file has no version block; not worth a failed-check report.
    if (!FileSystem::IsExistingFile(product.GetPath()))
        return std::wstring();
    return product.GetVersionString();
}

std::wstring UpdaterSettings::GetShortProductVersion() {
    const std::wstring version = GetProductVersion();
    const size_t first = version.find(L'.');
    if (first == std::wstring::npos)
        return version;
    return version.substr(0, version.find(L'.', first + 1));
}

std::wstring UpdaterSettings::GetProductNameWithoutBlanks() {
    std::wstring name = GetProductName();
    name.erase(std::remove(name.begin(), name.end(), L' '), name.end());
    return name;
}

AppResources::ResourceManagerHolder::ProductParameters UpdaterSettings::GetProductInformation() {
    AppResources::ResourceManagerHolder::ProductParameters parameters;
    parameters.productName = GetProductNameWithoutBlanks();
    parameters.fullProductName = GetProductName();
    parameters.productVersion = GetProductVersion();
    parameters.shortProductVersion = GetShortProductVersion();
    parameters.companyName = GetProductCompanyName();
    return parameters;
}

std::wstring UpdaterSettings::ExpandPlaceholders(const std::wstring& text) {
    std::wstring result = text;
    // A companion product's update names a single blank as its component:
    // the texts then read as if they named none, the blank before the token
    // going with it.
    if (GetComponentName().find_first_not_of(L' ') == std::wstring::npos)
        STLHelpers::ReplaceAllPairs(result, {{L" {ComponentName}", L""}});
    STLHelpers::ReplaceAllPairs(result, {{L"{ProductName}", GetProductName()},
                                         {L"{ProductVersion}", GetProductVersion()},
                                         {L"{ShortProductVersion}", GetShortProductVersion()},
                                         {L"{ProductURL}", GetProductURL()},
                                         {L"{ComponentName}", GetComponentName()}});
    return result;
}

std::wstring UpdaterSettings::GetUpdateMutexName() {
    return GetProductName() + L"_UpdateMutex";
}

std::wstring UpdaterSettings::GetExtrasMutexName() {
    return GetProductName() + L"_ExtrasMutex";
}

std::wstring UpdaterSettings::GetExitEventName() {
    return GetProductName() + L"_ExitEvent";
}
