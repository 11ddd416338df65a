#include "shell/settings/SettingsDlg.h"

#include "DialogTestSupport.h"
#include "downloads/settings/Settings.h"
#include "downloads/tests/ProfileApplication.h"
#include "engine/EngineTestDoor.h"
#include "foundation/system/OSVersion.h"
#include "resources/resourcelib/Language.h"
#include "shell/app/BrunlowApp.h"
#include "shell/dialogs/FolderBrowser.h"
#include "shell/program/BrunlowResources.h"
#include "testing/TempFolder.h"
#include "testing/WindowPicture.h"

#include <boost/make_shared.hpp>

#include <commctrl.h>

#include <functional>
#include <memory>

namespace {

using namespace ShellTests;

KavennaEngine::TestDoor::ITestDoor* Door() {
    const HMODULE module = ::GetModuleHandleW(KavennaEngine::kLibraryFileName);
    const auto entry = module ? reinterpret_cast<KavennaEngine::TestDoor::Entry>(
                                    ::GetProcAddress(module, KavennaEngine::TestDoor::kEntryPointName))
                              : nullptr;
    return entry ? entry() : nullptr;
}

// The application object with the test's settings record.
// The application is the toolkit's current one now: it takes the profile
// application's registry key, so both read and write the same profile.
struct DialogProduct {
    AppFrameworkTests::TestProduct product{L"Brunlow Downloads Tests"};
};
class DialogApp : private DialogProduct, public CBrunlowApp {
public:
    DialogApp(Settings* pSettings, const std::wstring& registryKey) : CBrunlowApp(product.info) {
        SetRegistryKey(registryKey.c_str());
        m_pSettings = pSettings;
    }
    ~DialogApp() override { m_pSettings = nullptr; }
};

// The folder the browser answers with; empty: the user cancelled.
std::wstring& BrowsedFolder() {
    static std::wstring folder;
    return folder;
}
BROWSEINFOW g_lastBrowse = {};
std::wstring g_lastBrowseTitle;
PIDLIST_ABSOLUTE AnswerBrowse(BROWSEINFOW* pInfo) {
    g_lastBrowse = *pInfo;
    g_lastBrowseTitle = pInfo->lpszTitle ? pInfo->lpszTitle : L"";
    return BrowsedFolder().empty() ? nullptr : ::ILCreateFromPathW(BrowsedFolder().c_str());
}

class SettingsDialog : public ::testing::Test {
protected:
    void SetUp() override {
        UseDialogResources();
        m_profile = std::make_unique<DownloadsTests::ProfileApplication>();
        m_pSettings = std::make_unique<Settings>();
        // OK makes the folder: never the user's real one.
        m_pSettings->SetVideosFolder(m_videos.Path());
        m_pApp = std::make_unique<DialogApp>(m_pSettings.get(), m_profile->RegistryKey());
        ASSERT_TRUE(m_pApp->GetKavennaEngine());
        ASSERT_TRUE(Door());
        m_previousBrowser = FolderBrowser::SetHandler(&AnswerBrowse);
        BrowsedFolder().clear();
    }
    void TearDown() override {
        FolderBrowser::SetHandler(m_previousBrowser);
        if (Door())
            Door()->SetConversionPresets({});
        m_pApp.reset();
        m_pSettings.reset();
        m_profile.reset();
        ResourceManager()->SetLanguageByName(L"en-us");
    }

    // Runs the dialog with `act` inside its loop; `act` ends it.
    INT_PTR Run(const std::function<void(CWnd&)>& act) {
        CSettingsDlg dlg(nullptr);
        MfcTests::ModalLoopAction action(act);
        return dlg.DoModal();
    }
    static void Press(CWnd& dialog, int id) { Notify(dialog, id, BN_CLICKED); }
    static void Check(CWnd& dialog, int id, bool on) {
        dialog.SendDlgItemMessage(id, BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED);
        Press(dialog, id);
    }
    static void PickLanguage(CWnd& dialog, int index) {
        dialog.SendDlgItemMessage(IDC_SETTINGS_LANGUAGE, CB_SETCURSEL, index);
        Notify(dialog, IDC_SETTINGS_LANGUAGE, CBN_SELCHANGE);
    }
    static void MoveSlider(CWnd& dialog, int id, int position) {
        dialog.SendDlgItemMessage(id, TBM_SETPOS, TRUE, position);
        dialog.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position),
                           reinterpret_cast<LPARAM>(::GetDlgItem(dialog.m_hWnd, id)));
    }
    static int SliderPosition(CWnd& dialog, int id) {
        return static_cast<int>(dialog.SendDlgItemMessage(id, TBM_GETPOS));
    }
    static void PickFormat(CWnd& dialog, const wchar_t* name) {
        const LRESULT index = dialog.SendDlgItemMessage(IDC_SETTINGS_FORMAT, CB_FINDSTRINGEXACT,
                                                        static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(name));
        dialog.SendDlgItemMessage(IDC_SETTINGS_FORMAT, CB_SETCURSEL, index);
    }
    static std::vector<std::wstring> ListItems(CWnd& dialog, int id) {
        std::vector<std::wstring> items;
        const int count = static_cast<int>(dialog.SendDlgItemMessage(id, CB_GETCOUNT));
        for (int i = 0; i < count; ++i) {
            wchar_t text[256] = {};
            dialog.SendDlgItemMessage(id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    static bool IsChecked(CWnd& dialog, int id) { return dialog.IsDlgButtonChecked(id) == BST_CHECKED; }
    static bool IsEnabled(CWnd& dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog.m_hWnd, id)) != FALSE; }

    Testing::TempFolder m_videos;
    std::unique_ptr<DownloadsTests::ProfileApplication> m_profile;
    std::unique_ptr<Settings> m_pSettings;
    std::unique_ptr<DialogApp> m_pApp;
    FolderBrowser::Handler m_previousBrowser = nullptr;
};

TEST_F(SettingsDialog, OpensWithTheStoredValuesAndLabels) {
    m_pSettings->SetConversionOutputFormat(L"OFP_0_AVI_B_640X480!Xvid_640x480,70");
    m_pSettings->SetAdvancedRippingSoundTimeout(15000);
    m_pSettings->SetCompatibilityLevel(2);
    m_pSettings->SetCloseAction(1);
    m_pSettings->SetVideosFolder(L"C:\\Videos");
    m_pSettings->SetDownloadSwf(false);
    std::function<void(CWnd&)> look = [&](CWnd& dialog) {
        Testing::SaveWindowPicture(dialog.m_hWnd, L"SettingsDlg");
        EXPECT_EQ(L"en:SettingsTitle", WindowText(dialog));
        EXPECT_EQ(L"en:SettingsCopyright Brunlow Downloads Tests", ItemText(dialog, IDC_SETTINGS_HEADER));
        EXPECT_EQ(L"en:SettingsWarning", ItemText(dialog, IDC_SETTINGS_FOOTER));
        EXPECT_EQ(L"en:SettingsSWF", ItemText(dialog, IDC_SETTINGS_SWF));
        EXPECT_EQ(L"en:OK", ItemText(dialog, IDOK));
        EXPECT_EQ(L"English", ItemText(dialog, IDC_SETTINGS_LANGUAGE));
        EXPECT_EQ(L"C:\\Videos", ItemText(dialog, IDC_SETTINGS_FOLDER));
        EXPECT_FALSE(IsChecked(dialog, IDC_SETTINGS_SWF));
        EXPECT_EQ(L"15", ItemText(dialog, IDC_SETTINGS_TIMEOUT));
        EXPECT_EQ(L"en:AVI", ItemText(dialog, IDC_SETTINGS_FORMAT)) << "the preset's name key";
        EXPECT_EQ(1, SliderPosition(dialog, IDC_SETTINGS_QUALITY));
        EXPECT_EQ(L"en:QualityMedium", ItemText(dialog, IDC_SETTINGS_QUALITY_LABEL));
        EXPECT_EQ(2, SliderPosition(dialog, IDC_SETTINGS_COMPAT));
        EXPECT_EQ(L"en:Compat45Min", ItemText(dialog, IDC_SETTINGS_COMPAT_TEXT));
        EXPECT_EQ(L"en:SettingsOnXHideInTray", ItemText(dialog, IDC_SETTINGS_CLOSE_ACTION));
        EXPECT_EQ((std::vector<std::wstring>{L"iPad", L"iPod", L"en:AVI", L"Windows Media video", L"MP3 audio"}),
                  ListItems(dialog, IDC_SETTINGS_FORMAT));
        CTextLabel* pHeader =
            dynamic_cast<CTextLabel*>(CWnd::FromHandlePermanent(::GetDlgItem(dialog.m_hWnd, IDC_SETTINGS_HEADER)));
        ASSERT_TRUE(pHeader);
        EXPECT_EQ(FW_NORMAL, pHeader->GetLogFont().lfWeight);
        CTextLabel* pFooter =
            dynamic_cast<CTextLabel*>(CWnd::FromHandlePermanent(::GetDlgItem(dialog.m_hWnd, IDC_SETTINGS_FOOTER)));
        ASSERT_TRUE(pFooter);
        EXPECT_STREQ(L"Arial", pFooter->GetLogFont().lfFaceName);
        EXPECT_EQ(FW_BOLD, pFooter->GetLogFont().lfWeight);
        MoveSlider(dialog, IDC_SETTINGS_COMPAT, 3);
        EXPECT_EQ(L"en:Compat30Min", ItemText(dialog, IDC_SETTINGS_COMPAT_TEXT));
        MoveSlider(dialog, IDC_SETTINGS_QUALITY, 0);
        EXPECT_EQ(L"en:QualityLow", ItemText(dialog, IDC_SETTINGS_QUALITY_LABEL));
        Press(dialog, IDCANCEL);
    };
    EXPECT_EQ(IDCANCEL, Run(look));
    EXPECT_FALSE(m_profile->HasSection(L"Settings")) << "Cancel writes nothing";
    EXPECT_EQ(2u, m_pSettings->GetCompatibilityLevel());
}

TEST_F(SettingsDialog, QualityRowOfTheStoredFormat) {
    struct Case {
        const wchar_t* format;
        int row;
        const wchar_t* label;
    } cases[] = {
        {L"OFP_0_IPAD_B_1024X768!iPadMpeg4_1024x768,70", 1, L"en:QualityMedium"},
        {L"OFP_0_IPAD_C_1024X768!iPadMpeg4_1024x768,50", 0, L"en:QualityLow"},
        {L"OFP_0_X_1024X768!Plain", 2, L"en:QualityHigh"},
        {L"", 2, L"en:QualityHigh"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.format)));
        m_pSettings->SetConversionOutputFormat(c.format);
        int row = -1;
        std::wstring label;
        Run([&](CWnd& dialog) {
            row = SliderPosition(dialog, IDC_SETTINGS_QUALITY);
            label = ItemText(dialog, IDC_SETTINGS_QUALITY_LABEL);
            Press(dialog, IDCANCEL);
        });
        EXPECT_EQ(c.row, row);
        EXPECT_EQ(c.label, label);
    }
}

TEST_F(SettingsDialog, OkStoresEveryValueAndSaves) {
    m_pSettings->SetEnablePassive(true);
    m_pSettings->SetSuggestAdvancedRipping(true);
    m_pSettings->SetConversionOutputFormat(L"OFP_0_IPAD_A_1024X768!iPadMpeg4_1024x768,85");
    const INT_PTR result = Run([&](CWnd& dialog) {
        dialog.SetDlgItemText(IDC_SETTINGS_TIMEOUT, L"20");
        EXPECT_TRUE(IsEnabled(dialog, IDC_SETTINGS_SUGGEST_PASSIVE));
        EXPECT_TRUE(IsChecked(dialog, IDC_SETTINGS_SUGGEST_PASSIVE));
        Check(dialog, IDC_SETTINGS_PASSIVE, false);
        EXPECT_FALSE(IsEnabled(dialog, IDC_SETTINGS_SUGGEST_PASSIVE));
        EXPECT_FALSE(IsEnabled(dialog, IDC_SETTINGS_TIMEOUT));
        EXPECT_FALSE(IsEnabled(dialog, IDC_SETTINGS_TIMEOUT_SPIN));
        EXPECT_FALSE(IsChecked(dialog, IDC_SETTINGS_SUGGEST_PASSIVE));
        Check(dialog, IDC_SETTINGS_ALLOW_STEALING, false);
        MoveSlider(dialog, IDC_SETTINGS_COMPAT, 4);
        dialog.SendDlgItemMessage(IDC_SETTINGS_CLOSE_ACTION, CB_SETCURSEL, 2);
        // Two presets named "iPad": the quality letter picks among them.
        MoveSlider(dialog, IDC_SETTINGS_QUALITY, 0);
        Press(dialog, IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(20000, m_pSettings->GetAdvancedRippingSoundTimeout());
    EXPECT_FALSE(m_pSettings->GetEnablePassive());
    EXPECT_FALSE(m_pSettings->GetSuggestAdvancedRipping());
    EXPECT_FALSE(m_pSettings->GetAllowStealingVideos());
    EXPECT_EQ(4u, m_pSettings->GetCompatibilityLevel());
    EXPECT_EQ(2u, m_pSettings->GetCloseAction());
    EXPECT_EQ(L"OFP_0_IPAD_C_1024X768!iPadMpeg4_1024x768,50", m_pSettings->GetConversionOutputFormat());
    EXPECT_EQ(L"en-us", m_pSettings->GetLanguageName());
    EXPECT_TRUE(m_profile->HasValue(L"Settings", L"AdvancedRippingSoundTimeout")) << "saved";
}

TEST_F(SettingsDialog, LanguageSwitchesAtOnceCancelReturnsOkKeeps) {
    for (const int button : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(button == IDOK ? "OK" : "Cancel");
        ResourceManager()->SetLanguageByName(L"en-us");
        std::wstring languageInside, caption, swf;
        Run([&](CWnd& dialog) {
            PickLanguage(dialog, 1);
            languageInside = CurrentLanguageName();
            caption = WindowText(dialog);
            swf = ItemText(dialog, IDC_SETTINGS_SWF);
            Press(dialog, button);
        });
        EXPECT_EQ(L"de-de", languageInside);
        EXPECT_EQ(L"de:SettingsTitle", caption);
        EXPECT_EQ(L"de:SettingsSWF", swf);
        EXPECT_EQ(button == IDOK ? L"de-de" : L"en-us", CurrentLanguageName());
        EXPECT_EQ(button == IDOK ? L"de-de" : L"en-us", m_pSettings->GetLanguageName());
    }
}

// Relabelling keeps what the user changed before it.
TEST_F(SettingsDialog, ChangesSurviveALanguageChange) {
    m_pSettings->SetDownloadSwf(false);
    m_pSettings->SetCloseAction(0);
    Run([&](CWnd& dialog) {
        Check(dialog, IDC_SETTINGS_SWF, true);
        dialog.SendDlgItemMessage(IDC_SETTINGS_CLOSE_ACTION, CB_SETCURSEL, 2);
        PickLanguage(dialog, 1);
        EXPECT_TRUE(IsChecked(dialog, IDC_SETTINGS_SWF));
        EXPECT_EQ(L"de:SettingsOnXClose", ItemText(dialog, IDC_SETTINGS_CLOSE_ACTION));
        Press(dialog, IDOK);
    });
    EXPECT_TRUE(m_pSettings->GetDownloadSwf());
    EXPECT_EQ(2u, m_pSettings->GetCloseAction());
}

TEST_F(SettingsDialog, PresetNamesAreComparedWhole) {
    Door()->SetConversionPresets({{L"OFP_0_HD_A_1!HD", L"", L"iPad HD"},
                                  {L"OFP_0_IPAD_A_1!Pad", L"", L"iPad"},
                                  {L"OFP_0_IPAD_B_1!Pad", L"", L"IPAD"},
                                  {L"OFP_0_PHONE_B_1!Phone", L"", L"Phone"}});
    m_pSettings->SetConversionOutputFormat(L"OFP_0_HD_A_1!HD");
    std::vector<std::wstring> names;
    Run([&](CWnd& dialog) {
        names = ListItems(dialog, IDC_SETTINGS_FORMAT);
        PickFormat(dialog, L"iPad");
        Notify(dialog, IDC_SETTINGS_FORMAT, CBN_SELCHANGE);
        Press(dialog, IDOK);
    });
    EXPECT_EQ((std::vector<std::wstring>{L"iPad HD", L"iPad", L"Phone"}), names);
    EXPECT_EQ(L"OFP_0_IPAD_A_1!Pad", m_pSettings->GetConversionOutputFormat());
}

// A name and quality that no preset has keep the format stored before.
TEST_F(SettingsDialog, UnmatchedQualityKeepsTheStoredFormat) {
    m_pSettings->SetConversionOutputFormat(L"OFP_0_IPOD_A_320X240!iPodMpeg4_320x240,85");
    Run([&](CWnd& dialog) {
        EXPECT_EQ(L"iPod", ItemText(dialog, IDC_SETTINGS_FORMAT));
        MoveSlider(dialog, IDC_SETTINGS_QUALITY, 1);  // iPod has no "_B_"
        Press(dialog, IDOK);
    });
    EXPECT_EQ(L"OFP_0_IPOD_A_320X240!iPodMpeg4_320x240,85", m_pSettings->GetConversionOutputFormat());
}

TEST_F(SettingsDialog, ALanguageMissingFromTheListStaysCurrent) {
    const boost::shared_ptr<ResourceLib::ILanguage> pOther =
        boost::make_shared<ResourceLib::Language>(L"fr-fr", L"Francais", 0);
    m_pSettings->SetLanguage(pOther);
    for (const int button : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(button == IDOK ? "OK" : "Cancel");
        ASSERT_TRUE(ResourceManager()->SetLanguage(pOther));
        std::wstring shown;
        boost::shared_ptr<ResourceLib::ILanguage> inside;
        Run([&](CWnd& dialog) {
            shown = ItemText(dialog, IDC_SETTINGS_LANGUAGE);
            inside = ResourceManager()->GetCurrentLanguage();
            Press(dialog, button);
        });
        EXPECT_EQ(L"English", shown) << "entry 0 is shown";
        EXPECT_EQ(pOther, inside) << "opening switches nothing";
        EXPECT_EQ(pOther, ResourceManager()->GetCurrentLanguage());
        EXPECT_EQ(L"fr-fr", m_pSettings->GetLanguageName()) << "nothing was picked";
    }
    // Picked and cancelled: back to the language of the opening.
    Run([&](CWnd& dialog) {
        PickLanguage(dialog, 1);
        EXPECT_EQ(L"de-de", CurrentLanguageName());
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(pOther, ResourceManager()->GetCurrentLanguage());
}

TEST_F(SettingsDialog, BrowsedFolderIsStoredOnOkCancelledBrowseChangesNothing) {
    Testing::TempFolder folder;
    const std::wstring before = m_videos / L"Before";
    m_pSettings->SetVideosFolder(before);
    struct Case {
        const char* name;
        std::wstring answer;
        std::wstring expected;
    } cases[] = {
        {"cancelled", L"", before},
        {"picked", folder.Path(), folder.Path()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        BrowsedFolder() = c.answer;
        g_lastBrowse = {};
        std::wstring shown;
        Run([&](CWnd& dialog) {
            Press(dialog, IDC_SETTINGS_BROWSE);
            shown = ItemText(dialog, IDC_SETTINGS_FOLDER);
            Press(dialog, IDOK);
        });
        EXPECT_EQ(c.expected, shown);
        EXPECT_EQ(c.expected, m_pSettings->GetVideosFolder());
        EXPECT_EQ(nullptr, g_lastBrowse.hwndOwner);
        EXPECT_EQ(nullptr, g_lastBrowse.pidlRoot);
        EXPECT_EQ(static_cast<UINT>(BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON), g_lastBrowse.ulFlags);
        EXPECT_EQ(L"en:SelectVideoDownloadFolder {ProductName}", g_lastBrowseTitle) << "not expanded";
    }
}

// Stored values the dialog offers no choice for open as their defaults: the
// close list is never blank, the compatibility slider never past its end.
TEST_F(SettingsDialog, OutOfRangeStoredValuesOpenAsTheirDefaults) {
    m_profile->WriteProfileInt(L"Settings", L"CloseAction", 7);
    m_profile->WriteProfileInt(L"Settings", L"CompatibilityLevel", 99);
    m_profile->WriteProfileInt(L"Settings", L"AdvancedRippingSoundTimeout", -1000);
    m_pSettings->Load();
    m_pSettings->SetVideosFolder(m_videos.Path());
    std::wstring closeAction, compatibilityLabel, timeout;
    int compatibility = -1;
    Run([&](CWnd& dialog) {
        closeAction = ItemText(dialog, IDC_SETTINGS_CLOSE_ACTION);
        compatibility = SliderPosition(dialog, IDC_SETTINGS_COMPAT);
        compatibilityLabel = ItemText(dialog, IDC_SETTINGS_COMPAT_TEXT);
        timeout = ItemText(dialog, IDC_SETTINGS_TIMEOUT);
        Press(dialog, IDCANCEL);
    });
    EXPECT_EQ(System::IsWindows7OrLater() ? L"en:SettingsOnXMinimize" : L"en:SettingsOnXHideInTray", closeAction);
    EXPECT_EQ(0, compatibility);
    EXPECT_EQ(L"en:CompatNever", compatibilityLabel);
    EXPECT_EQ(L"15", timeout);
}

// OK with a folder no video can be saved in: the dialog says why, stays
// open and stores nothing; a missing folder two levels deep is made.
TEST_F(SettingsDialog, OkRefusesAFolderThatCannotBeMadeOrWritten) {
    std::wstring missingDrive;
    for (wchar_t letter = L'Y'; letter >= L'Q' && missingDrive.empty(); --letter) {
        if (!(::GetLogicalDrives() & (1u << (letter - L'A'))))
            missingDrive = std::wstring(1, letter) + L":\\Videos";
    }
    struct Case {
        const char* name;
        std::wstring folder;
        std::wstring problem;  // the start of the message; empty: accepted
    } cases[] = {
        {"with <>|", m_videos / L"a<b>c|d", L"en:VideosFolderInvalidCharacters"},
        {"on a missing drive", missingDrive, L"en:VideosFolderNoDrive"},
        {"10,020 characters long", m_videos.Path() + L"\\" + std::wstring(10020 - m_videos.Path().size() - 1, L'v'),
         L"en:VideosFolderTooLong"},
        {"read-only", L"Z:\\sys", L"en:VideosFolderNotWritable"},
        {"two levels below a missing parent", m_videos / L"new\\deeper", L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_pSettings->SetVideosFolder(m_videos.Path());
        m_pSettings->SetCloseAction(0);
        BrowsedFolder().clear();
        MfcTests::MessageBoxAnswer box(IDOK);
        bool openAfterOk = false;
        const INT_PTR result = Run([&](CWnd& dialog) {
            // The browser offers only existing folders; the text is what OK reads.
            dialog.SetDlgItemText(IDC_SETTINGS_FOLDER, c.folder.c_str());
            dialog.SendDlgItemMessage(IDC_SETTINGS_CLOSE_ACTION, CB_SETCURSEL, 2);
            Press(dialog, IDOK);
            openAfterOk = ::IsWindow(dialog.m_hWnd) && ::IsWindowVisible(dialog.m_hWnd);
            if (openAfterOk)
                Press(dialog, IDCANCEL);
        });
        if (c.problem.empty()) {
            EXPECT_EQ(IDOK, result);
            EXPECT_EQ(0, box.Count());
            EXPECT_EQ(c.folder, m_pSettings->GetVideosFolder());
            EXPECT_TRUE(Testing::PathExists(c.folder));
            continue;
        }
        EXPECT_TRUE(openAfterOk) << "the dialog stays open";
        EXPECT_EQ(IDCANCEL, result);
        ASSERT_EQ(1, box.Count());
        EXPECT_EQ(0u, box.Text().find(c.problem)) << testing::PrintToString(box.Text());
        EXPECT_NE(std::wstring::npos, box.Text().find(L"\n\nen:VideosFolderInSettings"));
        EXPECT_EQ(L"en:SettingsTitle", box.Caption());
        EXPECT_EQ(static_cast<UINT>(MB_ICONWARNING), box.Type());
        EXPECT_NE(nullptr, box.Owner()) << "owned by the dialog";
        EXPECT_EQ(m_videos.Path(), m_pSettings->GetVideosFolder()) << "nothing stored";
        EXPECT_EQ(0u, m_pSettings->GetCloseAction());
    }
}

}  // namespace
