#pragma once
// What the dialog tests share: the process's resource manager over a folder
// of two languages (English, the default, and German) in which every string
// reads "<en|de>:<name>" and the offer texts carry "{ProductName}", and a
// way to run a dialog's modal loop with a test acting inside it.
#include "appframework/tests/TestApplication.h"
#include "platform/mfc/tests/MfcTestSupport.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/resourcelib/IManager.h"
#include "resources/tests/ResourceFolderFixture.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace ShellTests {

inline ResourceTesting::StringList DialogStrings(const std::wstring& prefix) {
    using namespace AppResources;
    const std::set<int> withProduct = {StringID_UpdateRequestTitle,    StringID_UpdateRequestHeading,
                                       StringID_UpdateRequestNote,     StringID_UpdateRequestQuestion,
                                       StringID_ExtrasRequestTitle,    StringID_ExtrasRequestHeading,
                                       StringID_ExtrasRequestWarning,  StringID_ExtrasRequestQuestion,
                                       StringID_Yes,                   StringID_No,
                                       StringID_SettingsCopyright,     StringID_SelectVideoDownloadFolder};
    const AppResources::ResourceIdTables& ids = GetMainProgramResourceIds();
    ResourceTesting::StringList strings;
    for (std::size_t i = 0; i < ids.stringCount; ++i) {
        std::wstring value = prefix + ids.strings[i].name;
        if (withProduct.count(ids.strings[i].id))
            value += L" {ProductName}";
        strings.emplace_back(ids.strings[i].name, value);
    }
    // A preset's name key.
    strings.emplace_back(L"PresetAvi", prefix + L"AVI");
    return strings;
}

inline boost::shared_ptr<ResourceLib::IManager> ResourceManager() {
    return AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager();
}

// Sets up the process's resource manager once, before anything asks for
// it, and makes English current.
inline void UseDialogResources() {
    static const bool initialized = [] {
        Testing::TempFolder* pRoot = new Testing::TempFolder;  // lives as long as the process
        // No locales: switching languages must leave the test thread's own.
        ResourceTesting::WriteMetadata(*pRoot, L"",
                                       {{L"en-us", L"English", 0, true}, {L"de-de", L"Deutsch", 0, false}});
        ResourceTesting::WriteStrings(*pRoot, L"en-us", DialogStrings(L"en:"));
        ResourceTesting::WriteStrings(*pRoot, L"de-de", DialogStrings(L"de:"));
        return AppResources::ResourceManagerHolder::InitializeApplication(pRoot->Path(), {});
    }();
    ASSERT_TRUE(initialized) << "the resource manager was set up before the dialog resources";
    ASSERT_TRUE(ResourceManager()->SetLanguageByName(L"en-us"));
}

inline std::wstring CurrentLanguageName() {
    const boost::shared_ptr<ResourceLib::ILanguage> pLanguage = ResourceManager()->GetCurrentLanguage();
    return pLanguage ? pLanguage->GetName() : std::wstring();
}

inline std::wstring ItemText(CWnd& dialog, int id) {
    CString text;
    dialog.GetDlgItemText(id, text);
    return text.GetString();
}

inline std::wstring WindowText(CWnd& window) {
    CString text;
    window.GetWindowText(text);
    return text.GetString();
}

// Tells the dialog that the user clicked a button or changed a list.
inline void Notify(CWnd& dialog, int id, WORD code) {
    dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, code),
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
}

}  // namespace ShellTests
