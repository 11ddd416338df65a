#include "shell/settings/SettingsDlg.h"

#include "downloads/settings/Settings.h"
#include "downloads/settings/VideosFolderCheck.h"
#include "engine/KavennaEngine.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "resources/resourcelib/ILanguageProvider.h"
#include "resources/resourcelib/IManager.h"
#include "shell/app/AppTexts.h"
#include "shell/app/BrunlowApp.h"
#include "shell/dialogs/FolderBrowser.h"
#include "shell/program/BrunlowResources.h"

#include <commctrl.h>

#include <cwchar>
#include <exception>

using AppResources::StringID_Cancel;
using AppResources::StringID_OK;

CSettingsDlg::CompatibilityMode CSettingsDlg::CompatibilityModeTable[5] = {
    {0, std::wstring()}, {1, std::wstring()}, {2, std::wstring()}, {3, std::wstring()}, {4, std::wstring()}};

CSettingsDlg::Quality CSettingsDlg::QualityTable[3] = {
    {L"C", std::wstring()}, {L"B", std::wstring()}, {L"A", std::wstring()}};

namespace {

const int kCompatibilityStrings[5] = {AppResources::StringID_CompatNever, AppResources::StringID_Compat60Min,
                                      AppResources::StringID_Compat45Min, AppResources::StringID_Compat30Min,
                                      AppResources::StringID_CompatAlways};
const int kQualityStrings[3] = {AppResources::StringID_QualityLow, AppResources::StringID_QualityMedium,
                                AppResources::StringID_QualityHigh};
const int kCloseActionStrings[3] = {AppResources::StringID_SettingsOnXMinimize,
                                    AppResources::StringID_SettingsOnXHideInTray,
                                    AppResources::StringID_SettingsOnXClose};

struct ItemText {
    int item;
    int stringId;
    bool expanded;
};
// The labels that are plain statics, check boxes and buttons.
const ItemText kItemTexts[] = {
    {IDC_SETTINGS_LANGUAGE_LABEL, AppResources::StringID_SettingsLanguage, false},
    {IDC_SETTINGS_FOLDER_LABEL, AppResources::StringID_SettingsDownloadFolder, false},
    {IDC_SETTINGS_FILTER_LABEL, AppResources::StringID_SettingsDownloadFilter, false},
    {IDC_SETTINGS_SWF, AppResources::StringID_SettingsSWF, false},
    {IDC_SETTINGS_PASSIVE, AppResources::StringID_SettingsEnablePassive, false},
    {IDC_SETTINGS_SUGGEST_PASSIVE, AppResources::StringID_SettingsSuggestPassive, false},
    {IDC_SETTINGS_ALLOW_STEALING, AppResources::StringID_SettingsAllowStealingVideoStreams, false},
    {IDC_SETTINGS_AUTO_CONVERT, AppResources::StringID_SettingsAutomaticConvertion, false},
    {IDC_SETTINGS_TIMEOUT_LABEL, AppResources::StringID_SettingsNoSoundTimeout, true},
    {IDC_SETTINGS_SECONDS, AppResources::StringID_SettingsSeconds, true},
    {IDC_SETTINGS_FORMAT_LABEL, AppResources::StringID_SettingsFormat, false},
    {IDC_SETTINGS_COMPAT_LABEL, AppResources::StringID_SettingsCompatibility, false},
    {IDC_SETTINGS_CLOSE_LABEL, AppResources::StringID_SettingsCloseAction, false},
    {IDOK, StringID_OK, false},
    {IDCANCEL, StringID_Cancel, false},
};

boost::shared_ptr<ResourceLib::IManager> ResourceLibManager() {
    return AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager();
}

std::wstring TextOf(const ItemText& entry) {
    return entry.expanded ? AppTexts::ExpandedText(entry.stringId) : AppTexts::Text(entry.stringId);
}

// The engine's preset holder; raises what the accessors report.
boost::shared_ptr<KavennaEngine::IConversionPresets> EnginePresets() {
    CBrunlowApp* pApp = CBrunlowApp::GetApp();
    boost::shared_ptr<KavennaEngine::IConversionPresets> pPresets;
    if (!pApp)
        return pPresets;
    if (const boost::shared_ptr<KavennaEngine::IEngine> pEngine = pApp->GetKavennaEngine())
        pEngine->GetConversionPresets(pPresets);
    return pPresets;
}

Settings::ConversionPresets PresetsOf(const Settings* pSettings) {
    Settings::ConversionPresets presets;
    if (pSettings)
        pSettings->GetConversionPresets(presets);
    return presets;
}

}  // namespace

BEGIN_MESSAGE_MAP(CSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_SETTINGS_BROWSE, &CSettingsDlg::OnBrowseFolder)
    ON_BN_CLICKED(IDC_SETTINGS_PASSIVE, &CSettingsDlg::OnAdvancedRippingClicked)
    ON_WM_HSCROLL()
    ON_CBN_SELCHANGE(IDC_SETTINGS_LANGUAGE, &CSettingsDlg::OnLanguageChanged)
END_MESSAGE_MAP()

CSettingsDlg::CSettingsDlg(CWnd* pParent) : CDialog(IDD_SETTINGS, pParent) {
    // The template holds sliders and an up-down control.
    INITCOMMONCONTROLSEX init = {sizeof(init), ICC_BAR_CLASSES | ICC_UPDOWN_CLASS};
    ::InitCommonControlsEx(&init);
}

void CSettingsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SETTINGS_HEADER, m_header);
    DDX_Control(pDX, IDC_SETTINGS_FOOTER, m_footer);
    DDX_Control(pDX, IDC_SETTINGS_FORMAT, m_formatList);
    DDX_Text(pDX, IDC_SETTINGS_FOLDER, m_folder);
    DDX_Check(pDX, IDC_SETTINGS_SWF, m_downloadSwf);
    DDX_Check(pDX, IDC_SETTINGS_PASSIVE, m_advancedRipping);
    DDX_Control(pDX, IDC_SETTINGS_SUGGEST_PASSIVE, m_suggestPassive);
    DDX_Control(pDX, IDC_SETTINGS_ALLOW_STEALING, m_allowStealing);
    DDX_Control(pDX, IDC_SETTINGS_AUTO_CONVERT, m_autoConvert);
    DDX_CBString(pDX, IDC_SETTINGS_FORMAT, m_format);
    DDX_Slider(pDX, IDC_SETTINGS_QUALITY, m_quality);
    DDX_Text(pDX, IDC_SETTINGS_QUALITY_LABEL, m_qualityLabel);
    DDX_Slider(pDX, IDC_SETTINGS_COMPAT, m_compatibility);
    DDX_Text(pDX, IDC_SETTINGS_COMPAT_TEXT, m_compatibilityLabel);
    DDX_CBIndex(pDX, IDC_SETTINGS_CLOSE_ACTION, m_closeAction);
    DDX_Control(pDX, IDC_SETTINGS_CLOSE_ACTION, m_closeActionList);
    DDX_Control(pDX, IDC_SETTINGS_LANGUAGE, m_languageList);
    DDX_Control(pDX, IDC_SETTINGS_TIMEOUT, m_timeoutEdit);
    DDX_Control(pDX, IDC_SETTINGS_TIMEOUT_SPIN, m_timeoutSpin);
}

CSettingsDlg::Languages CSettingsDlg::_GetLanguages() {
    Languages languages;
    const boost::shared_ptr<ResourceLib::IManager> pManager = ResourceLibManager();
    const boost::shared_ptr<ResourceLib::ILanguageProvider> pProvider =
        pManager ? pManager->GetLanguageProvider() : nullptr;
    if (pProvider)
        pProvider->GetLanguages(languages);
    return languages;
}

BOOL CSettingsDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_header.SetFontSize(11);
    m_header.SetFontBold(FALSE);
    m_header.SetEngraved(1, 1);
    m_header.SetEngraveColor(0xCD661F);
    m_footer.SetFontName(L"Arial", 0);
    m_footer.SetFontSize(8);
    m_footer.SetFontBold(TRUE);

    const boost::shared_ptr<ResourceLib::IManager> pManager = ResourceLibManager();
    m_openingLanguage = pManager ? pManager->GetCurrentLanguage() : nullptr;
    const Languages languages = _GetLanguages();
    for (std::size_t i = 0; i < languages.size(); ++i) {
        const int index = m_languageList.AddString(languages[i] ? languages[i]->GetTitle().c_str() : L"");
        if (languages[i] && languages[i] == m_openingLanguage) {
            m_languageList.SetCurSel(index);
            m_initialLanguage = index;
        }
    }
    if (m_languageList.GetCurSel() == CB_ERR)
        m_languageList.SetCurSel(0);
    // A current language that the list lacks stays current: entry 0 is only
    // shown, the program switches when the user picks a language.
    if (m_initialLanguage != -1)
        OnLanguageChanged();
    else
        UpdateTexts();

    const Settings* pSettings = CBrunlowApp::GetSettings();
    if (!pSettings) {
        // Reported by the accessor; there is nothing to edit.
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_folder = pSettings->GetVideosFolder().c_str();
    m_downloadSwf = pSettings->GetDownloadSwf() ? BST_CHECKED : BST_UNCHECKED;
    m_advancedRipping = pSettings->GetEnablePassive() ? BST_CHECKED : BST_UNCHECKED;
    m_suggestPassive.SetCheck(pSettings->GetEnablePassive() && pSettings->GetSuggestAdvancedRipping() ? BST_CHECKED
                                                                                                     : BST_UNCHECKED);
    m_allowStealing.SetCheck(pSettings->GetAllowStealingVideos() ? BST_CHECKED : BST_UNCHECKED);
    m_autoConvert.SetCheck(pSettings->GetAutomaticConversion() ? BST_CHECKED : BST_UNCHECKED);

    SendDlgItemMessage(IDC_SETTINGS_COMPAT, TBM_SETRANGE, FALSE, MAKELPARAM(0, 4));
    SendDlgItemMessage(IDC_SETTINGS_QUALITY, TBM_SETRANGE, FALSE, MAKELPARAM(0, 2));
    m_compatibility = static_cast<int>(pSettings->GetCompatibilityLevel());
    m_closeAction = static_cast<int>(pSettings->GetCloseAction());
    m_timeoutSpin.SetRange32(0, 600);
    m_timeoutSpin.SetPos32(pSettings->GetAdvancedRippingSoundTimeout() / 1000);
    UpdateCompatibilityLabel();

    _FillFormatList();
    try {
        ShowCurrentPreset();
    } catch (...) {
        // The list then shows no preset; the dialog is still usable.
    }
    m_quality = FindQualityRow();
    UpdateQualityLabel();

    UpdateData(FALSE);
    UpdateData(TRUE);
    _EnableAdvancedRippingControls();
    return TRUE;
}

void CSettingsDlg::ShowCurrentPreset() {
    const Settings* pSettings = CBrunlowApp::GetSettings();
    const std::wstring format = pSettings ? pSettings->GetConversionOutputFormat() : std::wstring();
    boost::shared_ptr<KavennaEngine::IConversionPreset> pPreset;
    if (const boost::shared_ptr<KavennaEngine::IConversionPresets> pPresets = EnginePresets())
        pPresets->FindById(pPreset, format);
    m_format = pPreset ? GetPresetDisplayName(*pPreset).c_str() : L"";
}

int CSettingsDlg::FindQualityRow() const {
    const Settings* pSettings = CBrunlowApp::GetSettings();
    const std::wstring format = pSettings ? pSettings->GetConversionOutputFormat() : std::wstring();
    for (int row = 0; row < 3; ++row) {
        const std::wstring needle = L"_" + QualityTable[row].letter + L"_";
        if (std::wcsstr(format.c_str(), needle.c_str()))
            return row;
    }
    return 2;
}

void CSettingsDlg::UpdateCompatibilityLabel() {
    m_compatibilityLabel.Empty();
    for (const CompatibilityMode& mode : CompatibilityModeTable) {
        if (mode.key == m_compatibility) {
            m_compatibilityLabel = mode.label.c_str();
            break;
        }
    }
}

void CSettingsDlg::UpdateQualityLabel() {
    m_qualityLabel = (m_quality >= 0 && m_quality < 3) ? QualityTable[m_quality].label.c_str() : L"";
}

std::wstring CSettingsDlg::GetPresetDisplayName(KavennaEngine::IConversionPreset& preset) {
    const std::wstring key = preset.GetNameKey();
    std::wstring name;
    if (!key.empty()) {
        try {
            if (const boost::shared_ptr<ResourceLib::IManager> pManager = ResourceLibManager())
                name = pManager->GetStringByName(key);
        } catch (const std::exception&) {
            // A manager set to throw on a missing string: the preset's own name serves.
            name.clear();
        }
    }
    return name.empty() ? preset.GetName() : name;
}

void CSettingsDlg::_FillFormatList() {
    for (const auto& pPreset : PresetsOf(CBrunlowApp::GetSettings())) {
        if (!pPreset)
            continue;
        const std::wstring name = GetPresetDisplayName(*pPreset);
        // Whole names: a name that only begins another ("iPad" after
        // "iPad HD") is a preset of its own.
        if (!name.empty() && m_formatList.FindStringExact(-1, name.c_str()) == CB_ERR)
            m_formatList.AddString(name.c_str());
    }
}

std::wstring CSettingsDlg::BuildConversionFormat(const CString& displayName) const {
    if (m_quality < 0 || m_quality >= 3)
        return std::wstring();
    const std::wstring needle = L"_" + QualityTable[m_quality].letter + L"_";
    for (const auto& pPreset : PresetsOf(CBrunlowApp::GetSettings())) {
        if (!pPreset || GetPresetDisplayName(*pPreset) != displayName.GetString())
            continue;
        const std::wstring id = pPreset->GetId();
        if (id.find(needle) != std::wstring::npos)
            return id;
    }
    return std::wstring();
}

void CSettingsDlg::OnLanguageChanged() {
    const int selection = m_languageList.GetCurSel();
    if (selection == CB_ERR)
        return;
    // What the user changed so far outlives the relabelling, which writes
    // the members back into the controls.
    UpdateData(TRUE);
    const Languages languages = _GetLanguages();
    if (selection < static_cast<int>(languages.size())) {
        const boost::shared_ptr<ResourceLib::IManager> pManager = ResourceLibManager();
        if (pManager && pManager->GetCurrentLanguage() != languages[selection]) {
            pManager->SetLanguage(languages[selection]);
            m_hasSwitchedLanguage = true;
        }
    }
    UpdateTexts();
}

void CSettingsDlg::UpdateTexts() {
    SetWindowText(AppTexts::Text(AppResources::StringID_SettingsTitle).c_str());
    SetLabelItemText(&m_header, AppTexts::ExpandedText(AppResources::StringID_SettingsCopyright));
    SetLabelItemText(&m_footer, AppTexts::ExpandedText(AppResources::StringID_SettingsWarning));
    for (const ItemText& entry : kItemTexts)
        SetDlgItemText(entry.item, TextOf(entry).c_str());

    const int closeAction = m_closeActionList.GetCurSel();
    m_closeActionList.ResetContent();
    for (int stringId : kCloseActionStrings)
        m_closeActionList.AddString(AppTexts::Text(stringId).c_str());
    m_closeActionList.SetCurSel(closeAction);

    for (int i = 0; i < 5; ++i)
        CompatibilityModeTable[i].label = AppTexts::Text(kCompatibilityStrings[i]);
    UpdateCompatibilityLabel();

    const int format = m_formatList.GetCurSel();
    m_formatList.ResetContent();
    _FillFormatList();
    m_formatList.SetCurSel(format);
    m_format.Empty();
    if (m_formatList.GetCurSel() != CB_ERR)
        m_formatList.GetLBText(m_formatList.GetCurSel(), m_format);

    for (int i = 0; i < 3; ++i)
        QualityTable[i].label = AppTexts::Text(kQualityStrings[i]);
    UpdateQualityLabel();

    UpdateData(FALSE);
    Invalidate();
}

void CSettingsDlg::OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar) {
    const int id = pScrollBar ? pScrollBar->GetDlgCtrlID() : 0;
    if (id == IDC_SETTINGS_COMPAT) {
        UpdateData(TRUE);
        UpdateCompatibilityLabel();
        UpdateData(FALSE);
    } else if (id == IDC_SETTINGS_QUALITY) {
        UpdateData(TRUE);
        UpdateQualityLabel();
        UpdateData(FALSE);
    }
    CDialog::OnHScroll(nSBCode, nPos, pScrollBar);
}

void CSettingsDlg::_EnableAdvancedRippingControls() {
    const BOOL enable = m_advancedRipping != 0;
    for (int id : {IDC_SETTINGS_SUGGEST_PASSIVE, IDC_SETTINGS_TIMEOUT, IDC_SETTINGS_TIMEOUT_SPIN}) {
        if (CWnd* pItem = GetDlgItem(id))
            pItem->EnableWindow(enable);
    }
    if (!enable)
        m_suggestPassive.SetCheck(BST_UNCHECKED);
}

void CSettingsDlg::OnAdvancedRippingClicked() {
    UpdateData(TRUE);
    _EnableAdvancedRippingControls();
}

void CSettingsDlg::OnBrowseFolder() {
    const std::wstring title = AppTexts::Text(AppResources::StringID_SelectVideoDownloadFolder);
    BROWSEINFOW info = {};
    info.hwndOwner = nullptr;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NONEWFOLDERBUTTON;
    const PIDLIST_ABSOLUTE pItemList = FolderBrowser::Browse(&info);
    if (!pItemList)
        return;
    wchar_t path[MAX_PATH] = {};
    if (::SHGetPathFromIDListW(pItemList, path)) {
        // Read first, so that writing the folder keeps what else was changed.
        UpdateData(TRUE);
        m_folder = path;
        UpdateData(FALSE);
    }
    FolderBrowser::FreeItemList(pItemList);
}

void CSettingsDlg::OnOK() {
    UpdateData(TRUE);
    Settings* pSettings = CBrunlowApp::GetSettings();
    if (!pSettings)
        return;
    // A folder no video can be saved in is refused here, where another can
    // be chosen, rather than failing every download later.
    const VideosFolderCheck check = VideosFolderCheck::Run(m_folder.GetString());
    if (!check.IsUsable()) {
        MessageBox(check.Describe(AppResources::StringID_VideosFolderInSettings).c_str(),
                   AppTexts::Text(AppResources::StringID_SettingsTitle).c_str(), MB_ICONWARNING);
        if (CWnd* pBrowse = GetDlgItem(IDC_SETTINGS_BROWSE))
            GotoDlgCtrl(pBrowse);
        return;
    }
    pSettings->SetVideosFolder(m_folder.GetString());
    pSettings->SetDownloadSwf(m_downloadSwf != 0);
    pSettings->SetEnablePassive(m_advancedRipping != 0);
    pSettings->SetSuggestAdvancedRipping(m_advancedRipping != 0 && m_suggestPassive.GetCheck() == BST_CHECKED);
    pSettings->SetAllowStealingVideos(m_allowStealing.GetCheck() == BST_CHECKED);
    pSettings->SetAutomaticConversion(m_autoConvert.GetCheck() == BST_CHECKED);
    pSettings->SetCompatibilityLevel(static_cast<std::uint32_t>(m_compatibility));
    pSettings->SetCloseAction(static_cast<std::uint32_t>(m_closeAction));
    const int seconds = m_timeoutSpin.GetPos32();
    pSettings->SetAdvancedRippingSoundTimeout((seconds < 0 ? 0 : seconds) * 1000);

    // Entry 0 shown for a language the list lacks is no choice of the user's.
    const int selection = m_languageList.GetCurSel();
    if (selection >= 0 && (m_initialLanguage != -1 || m_hasSwitchedLanguage)) {
        const Languages languages = _GetLanguages();
        if (selection < static_cast<int>(languages.size()))
            pSettings->SetLanguage(languages[selection]);
    }

    // A name and quality that match no preset keep the stored format rather
    // than leave conversions without one.
    const std::wstring format = BuildConversionFormat(m_format);
    if (!format.empty())
        pSettings->SetConversionOutputFormat(format);

    pSettings->Save();
    CDialog::OnOK();
}

void CSettingsDlg::OnCancel() {
    const boost::shared_ptr<ResourceLib::IManager> pManager = ResourceLibManager();
    if (pManager) {
        if (m_initialLanguage != -1) {
            const Languages languages = _GetLanguages();
            if (m_initialLanguage < static_cast<int>(languages.size()))
                pManager->SetLanguage(languages[m_initialLanguage]);
        } else if (m_hasSwitchedLanguage && m_openingLanguage) {
            pManager->SetLanguage(m_openingLanguage);
        }
    }
    CDialog::OnCancel();
}
