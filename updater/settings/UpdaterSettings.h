#pragma once
// UpdaterSettings: everything the Updater is told — its command line, its
// string-table defaults, two values of the user's registry and the version of
// the product's executable — behind one record. Nothing else in the Updater
// reads the command line.
//
//   UpdaterSettings::Instance().GetDownloadURL();
//   UpdaterSettings::Instance().ExpandPlaceholders(L"{ProductName} {ComponentName}");
//
// Switches are whole command-line elements from element 1 on, matched
// without case; a switch's value is the element after it.
//
// Threads: the memo of GetValue has no lock, so memoised reads belong to the
// user-interface thread. IsSilent and the other direct switch reads touch
// only the arguments, which never change after construction, and may be made
// from the worker thread.
#include "resources/appresources/ResourceManagerHolder.h"

#include <map>
#include <string>
#include <vector>

class UpdaterSettings {
public:
    // The process's own command line. The first record made this way (the
    // application object's member) is the one Instance gives while it lives.
    UpdaterSettings();
    // A given command line, program path first; null or empty: no arguments.
    explicit UpdaterSettings(const wchar_t* commandLine);
    ~UpdaterSettings();
    UpdaterSettings(const UpdaterSettings&) = delete;
    UpdaterSettings& operator=(const UpdaterSettings&) = delete;

    // The application's record; without one, a record over the process's
    // command line made on first use.
    static UpdaterSettings& Instance();

    // The element after the first matching element that has one; "" when
    // none does. skipFirst leaves out element 0, the program path.
    std::wstring _FindSwitchValue(const std::wstring& switchText, bool skipFirst = true) const;
    bool HasSwitch(const std::wstring& switchText) const;

    // The switch "/" + key, else string `stringId`; looked up once, then
    // remembered (an empty result too).
    std::wstring GetValue(const std::wstring& key, unsigned stringId);

    std::wstring GetProductName();
    std::wstring GetProductCompanyName();
    std::wstring GetProductExecutable();
    std::wstring GetBundleName();
    // With every "/URLBrandSuffix/" replaced by the brand suffix.
    std::wstring GetProductURL();
    // The switch, else HKCU "Software\<bundle>\<product>" "DownloadURL", else
    // the string table; with every "/URLBrandSuffix/" replaced.
    std::wstring GetDownloadURL();

    std::wstring GetComponentName() const;  // "Automatic Update" by default
    std::wstring GetLanguageName() const;   // the system's UI language by default
    // Only the value "0" makes a setup run with its own windows.
    bool IsSilent() const;
    bool IsRunWithProduct() const;

    // The file version of the product's executable beside the Updater; ""
    // when there is none.
    std::wstring GetProductVersion();
    // Fields 1 and 2 ("1.4" of "1.4.1.7"); the whole text when it has one field.
    std::wstring GetShortProductVersion();
    std::wstring GetProductNameWithoutBlanks();
    // The product texts the resource manager expands in every string.
    AppResources::ResourceManagerHolder::ProductParameters GetProductInformation();

    // "{ProductName}", "{ProductVersion}", "{ShortProductVersion}",
    // "{ProductURL}" and "{ComponentName}" replaced by their current values
    // (computed again on every call); other braces stay.
    std::wstring ExpandPlaceholders(const std::wstring& text);

    // "_48" for "48ROV", else "_" + the HKCU "Software\<product>"
    // "SetupNameSuffix" value ("_" when there is none).
    std::wstring _GetBrandSuffix();

    std::wstring GetUpdateMutexName();
    std::wstring GetExtrasMutexName();
    std::wstring GetExitEventName();

private:
    void ParseCommandLine(const wchar_t* commandLine);
    std::wstring ApplyBrandSuffix(const std::wstring& text);

    std::vector<std::wstring> m_arguments;
    std::map<std::wstring, std::wstring> m_memo;
    bool m_isInstance = false;
};
