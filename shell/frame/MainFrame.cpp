#include "shell/frame/MainFrame.h"

#include "appframework/interproduct/Product.h"
#include "appframework/product/ProductInfo.h"
#include "appframework/serviceclient/Library.h"
#include "appframework/updates/ExtrasInstaller.h"
#include "downloads/engine/EngineLibrary.h"
#include "downloads/settings/Settings.h"
#include "foundation/errors/Checks.h"
#include "foundation/filesystem/File.h"
#include "foundation/strings/StringFormat.h"
#include "foundation/system/Foreground.h"
#include "foundation/system/ShellExecute.h"
#include "foundation/system/ShellHelpers.h"
#include "graphics/commongui/PictureLoaders.h"
#include "graphics/commongui/SharedBitmaps.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "shell/app/BrunlowApp.h"
#include "shell/dialogs/AddUrlDlg.h"
#include "shell/dialogs/ExtrasRequestDlg.h"
#include "shell/dialogs/UpdateRequestDlg.h"
#include "shell/program/BrunlowResources.h"
#include "shell/settings/SettingsDlg.h"
#include "shell/theme/CMsMoneyTheme.h"
#include "skin/commongui/DrawingHelpers.h"
#include "skin/commongui/StatePictures.h"
#include "toolkit/CurrentTheme.h"
#include "toolkit/ToolBar.h"

#include <boost/algorithm/string/predicate.hpp>

#include <algorithm>
#include <mutex>

namespace {

const int kToolbarResource = IDR_MAINFRAME;

// Caption element: its region in the caption, its anchors, its pictures.
const int kCaptionLeftFromRight = 293;
const int kCaptionRightFromRight = 125;
const int kCaptionTop = 6;
const int kCaptionBottom = 26;
const UINT kCaptionAnchors = 9;
// The least room between the end of the window's title and the element.
const int kCaptionTitleGap = 8;
struct CaptionPictureKey {
    int key;
    WORD bitmapId;
};
const CaptionPictureKey kCaptionPictures[] = {
    {634, IDB_CAPTION_NORMAL}, {635, IDB_CAPTION_OVER}, {636, IDB_CAPTION_PRESSED}, {637, IDB_CAPTION_DISABLED}};

// Toolbar captions and tooltips by command id.
struct ButtonText {
    UINT id;
    int caption;
    int tooltip;
};
const ButtonText kButtonTexts[] = {
    {ID_ENGINE_ONOFF, AppResources::StringID_ButtonOnOff, AppResources::StringID_ButtonOnOffTooltip},
    {ID_ENGINE_ON, AppResources::StringID_ButtonOnOff, AppResources::StringID_ButtonOnOffTooltip},
    {ID_ENGINE_OFF, AppResources::StringID_ButtonOnOff, AppResources::StringID_ButtonOnOffTooltip},
    {ID_ADD_URL, AppResources::StringID_ButtonAddURL, AppResources::StringID_ButtonAddURLTooltip},
    {ID_CONVERT, AppResources::StringID_ButtonConvert, AppResources::StringID_ButtonConvertTooltip},
    {ID_CANCEL_DOWNLOAD, AppResources::StringID_ButtonRemove, AppResources::StringID_ButtonRemoveTooltip},
    {ID_OPEN_DOWNLOAD_FOLDER, AppResources::StringID_ButtonBrowse, AppResources::StringID_ButtonBrowseTooltip},
    {ID_SETTINGS, AppResources::StringID_ButtonSettings, AppResources::StringID_ButtonSettingsTooltip},
    {ID_HELP_SUPPORT, AppResources::StringID_ButtonHelpSupport, AppResources::StringID_ButtonHelpSupportTooltip},
};

std::wstring LanguageString(int id) {
    return AppResources::ResourceManagerHolder::GetManager()->GetString(id);
}

ApplicationFramework::ProductInfo* Product() {
    return ApplicationFramework::ProductInfo::GetCurrent();
}

// A skin colour; a key the style file lacks gives the fallback.
COLORREF ReadSkinColor(const wchar_t* key, COLORREF fallback) {
    try {
        if (FileSystem::XmlFile* pSkin = CBrunlowApp::GetSkinManager())
            return pSkin->GetColor(key);
    } catch (const std::exception&) {
        CHECK_WARNING(!"skin colour");
    }
    return fallback;
}

// The application's engine; empty without an engine library, so that the
// window still comes up and the start-up can tell the user instead.
boost::shared_ptr<KavennaEngine::IEngine> EngineIfAny() {
    if (!KavennaEngine::GetBoundLibrary())
        return boost::shared_ptr<KavennaEngine::IEngine>();
    return Brunlow::AppAccess::GetKavennaEngine();
}

bool IsMinimizedShow(UINT showCmd) {
    return showCmd == SW_SHOWMINIMIZED || showCmd == SW_MINIMIZE || showCmd == SW_SHOWMINNOACTIVE;
}

}  // namespace

IMPLEMENT_DYNCREATE(CMainFrame, QE764)

BEGIN_MESSAGE_MAP(CMainFrame, QE764)
    ON_WM_CREATE()
    ON_WM_CLOSE()
    ON_COMMAND(ID_SETTINGS, &CMainFrame::OnSettings)
    ON_COMMAND(ID_HELP_SUPPORT, &CMainFrame::OnHelpSupport)
    ON_COMMAND(ID_OPEN_DOWNLOAD_FOLDER, &CMainFrame::OnOpenDownloadFolder)
    ON_COMMAND(ID_ADD_URL, &CMainFrame::OnAddUrl)
    ON_COMMAND(ID_EXIT, &CMainFrame::OnExit)
    ON_COMMAND(ID_SHOW_HIDE, &CMainFrame::OnShowHide)
    ON_MESSAGE(kUpdateOfferMessage, &CMainFrame::OnUpdateOffer)
    ON_MESSAGE(kExtrasOfferMessage, &CMainFrame::OnExtrasOffer)
    ON_MESSAGE(kCloseRequestMessage, &CMainFrame::OnCloseRequest)
    ON_WM_DESTROY()
    ON_MESSAGE(kActivateInstanceMessage, &CMainFrame::OnActivateInstance)
    ON_WM_NCPAINT()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_SYSCOMMAND()
    ON_WM_NCACTIVATE()
    ON_MESSAGE(kEngineStateMessage, &CMainFrame::OnEngineState)
END_MESSAGE_MAP()

CMainFrame::CMainFrame() : m_captionSurface(this, nullptr, true, false) {
    const boost::shared_ptr<ResourceLib::IManager> manager =
        AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager();
    if (manager)
        m_isResourceObserver = manager->Observers.Add(static_cast<ResourceLib::IManager::IObserver*>(this));
    // Last: the engine may call in as soon as the frame is listed.
    SubscribeEngine(EngineIfAny());
}

CMainFrame::~CMainFrame() {
    UnsubscribeEngine();
    if (m_isResourceObserver) {
        const boost::shared_ptr<ResourceLib::IManager> manager =
            AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager();
        if (manager)
            manager->Observers.Remove(static_cast<ResourceLib::IManager::IObserver*>(this));
    }
    m_captionPictures.clear();
    m_layoutManager.reset();
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    if (!QE764::PreCreateWindow(cs))
        return FALSE;
    cs.style &= ~static_cast<LONG>(FWS_ADDTOTITLE);
    cs.style |= WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE | WS_EX_WINDOWEDGE | WS_EX_STATICEDGE);
    return TRUE;
}

BOOL CMainFrame::PreTranslateMessage(MSG* pMsg) {
    if (_IsCaptionOfferOn()) {
        m_captionSurface.PreTranslateMessage(pMsg);
        if (pMsg && (pMsg->message == WM_NCMOUSEMOVE || pMsg->message == WM_MOUSEMOVE))
            _UpdateCaptionTip();
    }
    return QE764::PreTranslateMessage(pMsg);
}

void CMainFrame::OnUpdateFrameTitle(BOOL) {
    ApplicationFramework::ProductInfo* pProduct = Product();
    const std::wstring title =
        pProduct ? pProduct->GetFullProductName() + L" " + pProduct->GetShortProductVersion() : std::wstring();
    SetWindowText(title.c_str());
    if (_IsCaptionOfferOn() && m_captionSurface.GetWindow()) {
        _PlaceCaptionElement();
        RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

int CMainFrame::_CaptionTitleEnd() {
    // The system starts the title inside the frame's border, after the
    // system menu's icon; the caption font gives its length.
    RECT border = {};
    ::AdjustWindowRectEx(&border, GetStyle() & ~WS_VSCROLL & ~WS_HSCROLL, FALSE, GetExStyle());
    const int left = -border.left + std::max(::GetSystemMetrics(SM_CXSIZE), ::GetSystemMetrics(SM_CXSMICON) + 2) + 2;
    CString title;
    GetWindowText(title);
    if (title.IsEmpty())
        return left;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    CFont font;
    const bool captionFont = ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) &&
                             font.CreateFontIndirect(&metrics.lfCaptionFont);
    CWindowDC dc(this);
    CFont* previous = captionFont ? dc.SelectObject(&font) : nullptr;
    const CSize extent = dc.GetTextExtent(title, title.GetLength());
    if (previous)
        dc.SelectObject(previous);
    return left + extent.cx;
}

void CMainFrame::_PlaceCaptionElement() {
    CommonGuiLib::AnchoredRegionSet& regions = m_captionSurface.GetRegions();
    CRect window;
    GetWindowRect(&window);
    const bool room = window.Width() - kCaptionLeftFromRight >= _CaptionTitleEnd() + kCaptionTitleGap;
    const bool placed = regions.GetAnchors(0) != 0;
    if (!room && placed) {
        // The title comes first: the element waits for a wider window.
        regions.Remove(0);
        m_captionTip.Hide();
        m_captionTipElement = kCaptionTipUndecided;
    } else if (room && !placed) {
        // Given against the width the set is laid out for now; the next
        // layout moves it with the right edge.
        const int width = regions.GetLayoutSize().cx;
        const RECT box = {width - kCaptionLeftFromRight, kCaptionTop, width - kCaptionRightFromRight, kCaptionBottom};
        regions.AddRect(0, box, kCaptionAnchors, 0);
    }
}

bool CMainFrame::_IsCaptionOfferOn() const {
    ApplicationFramework::ProductInfo* pProduct = Product();
    return pProduct && pProduct->IsCompanionOfferedInCaption();
}

bool CMainFrame::_IsMinimized() const {
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    GetWindowPlacement(&placement);
    return IsMinimizedShow(placement.showCmd);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (QE764::OnCreate(lpCreateStruct) == -1)
        return -1;
    const std::wstring layoutPath =
        AppResources::ResourceManagerHolder::GetManager()->GetFilePath(AppResources::FilePathID_LayoutXml);
    if (!layoutPath.empty()) {
        try {
            m_layoutManager = LayoutLib::CreateManager(layoutPath);
        } catch (const std::exception&) {
            // A broken layout file leaves the skinned dialogs without layout.
            CHECK_WARNING(!"layout file");
        }
    }
    _SetInitialSize();
    CWinThread* pThread = AfxGetThread();
    if (!m_trayIcon.Create(pThread && pThread->m_pMainWnd ? pThread->m_pMainWnd : this))
        return -2;
    if (!_CreateToolbar())
        return -2;
    RecalcLayout(FALSE);
    _ApplyLanguage();
    if (const boost::shared_ptr<KavennaEngine::IEngine> engine = EngineIfAny())
        ApplyEngineState(engine->GetState());
    if (_IsCaptionOfferOn()) {
        m_captionSurface.Attach(m_hWnd, false);
        _PlaceCaptionElement();
    }
    Brunlow::ViewHost::Set(&m_viewHost);
    return 0;
}

void CMainFrame::_SetInitialSize() {
    Settings* pSettings = CBrunlowApp::GetSettings();
    const int width = pSettings && pSettings->GetDebugMode() ? kDebugWidth : kWidth;
    SetWindowPos(nullptr, 0, 0, width, kHeight, SWP_NOMOVE | SWP_NOZORDER);
}

bool CMainFrame::_CreateToolbar() {
    if (!InitCommandBars())
        return false;
    Toolkit::CommandBars* pBars = GetCommandBars();
    if (!pBars)
        return false;
    pBars->EnableCustomization(FALSE);
    pBars->ShowExpandButtons(FALSE);
    m_pToolbar = pBars->Add(L"Toolbar", Toolkit::PositionTop);
    if (!m_pToolbar)
        return false;
    if (!m_pToolbar->LoadToolBar(kToolbarResource))
        return false;
    m_pToolbar->SetMinimumButtonSize(100, 50);
    m_pToolbar->ShowExpandButton(FALSE);
    m_pToolbar->SetCloseable(FALSE);
    pBars->DockToolBar(m_pToolbar, Toolkit::PositionTop);
    ApplicationFramework::ProductInfo* pProduct = Product();
    if (!pProduct || pProduct->GetSupportAddress().empty()) {
        _SetToolbarButtonVisible(ID_HELP_SUPPORT, false);
        pBars->RecalcLayout();
    }
    // The toolbar stands in for the menu bar; the menu stays for its commands.
    ::SetMenu(m_hWnd, nullptr);
    return true;
}

bool CMainFrame::_SetToolbarButtonVisible(UINT id, bool visible) {
    if (!m_pToolbar)
        return false;
    Toolkit::Control* pControl = m_pToolbar->FindControl(id);
    if (!pControl)
        return false;
    pControl->SetVisible(visible ? TRUE : FALSE);
    return true;
}

void CMainFrame::_ApplyLanguage() {
    if (m_pToolbar) {
        for (int i = 0; i < m_pToolbar->GetControlCount(); ++i) {
            Toolkit::Control* pControl = m_pToolbar->GetControl(i);
            for (const ButtonText& text : kButtonTexts) {
                if (pControl && pControl->GetId() == text.id) {
                    pControl->SetCaption(LanguageString(text.caption).c_str());
                    pControl->SetTooltip(LanguageString(text.tooltip).c_str());
                    break;
                }
            }
        }
        if (Toolkit::CommandBars* pBars = GetCommandBars())
            pBars->RecalcLayout();
    }
    OnUpdateFrameTitle(TRUE);
    InvalidateRect(nullptr, TRUE);
}

const CMainFrame::ToolbarColors& CMainFrame::GetToolbarColors(bool engineOn) {
    // Read once per run: a skin file changed later keeps these.
    static std::once_flag s_onRead, s_offRead;
    static ToolbarColors s_on, s_off;
    auto read = [](const wchar_t* state, ToolbarColors& colors) {
        auto key = [state](const wchar_t* name) {
            return std::wstring(L"skin/application/toolbar/") + state + L"/colors/" + name;
        };
        colors.gradientLight = ReadSkinColor(key(L"gradientL").c_str(), 0x505050);
        colors.gradientDark = ReadSkinColor(key(L"gradientD").c_str(), 0x303030);
        colors.lineLight = ReadSkinColor(key(L"lineL").c_str(), 0x505050);
        colors.lineDark = ReadSkinColor(key(L"lineD").c_str(), 0x303030);
        colors.textNormal = ReadSkinColor(key(L"textA").c_str(), 0xF9FEFF);
        colors.textHot = ReadSkinColor(key(L"textH").c_str(), 0x7FDFFF);
        colors.textDisabled = ReadSkinColor(key(L"textD").c_str(), 0xB1B1B1);
    };
    if (engineOn) {
        std::call_once(s_onRead, [&] { read(L"on", s_on); });
        return s_on;
    }
    std::call_once(s_offRead, [&] { read(L"off", s_off); });
    return s_off;
}

void CMainFrame::OnEngineStateChanged(int state) {
    // The theme and the bars belong to the window's thread: the state is
    // read there again, so a stale message changes nothing.
    if (m_hWnd)
        ::PostMessageW(m_hWnd, kEngineStateMessage, 0, 0);
}

LRESULT CMainFrame::OnEngineState(WPARAM, LPARAM) {
    if (const boost::shared_ptr<KavennaEngine::IEngine> engine = EngineIfAny())
        ApplyEngineState(engine->GetState());
    return 0;
}

void CMainFrame::ApplyEngineState(int state) {
    if (state == KavennaEngine::EngineOn || state == KavennaEngine::EngineOff) {
        const bool on = state == KavennaEngine::EngineOn;
        const ToolbarColors& colors = GetToolbarColors(on);
        CMsMoneyTheme* pTheme =
            new CMsMoneyTheme(colors.gradientLight, colors.gradientDark, colors.lineLight, colors.lineDark);
        pTheme->SetTextColors(colors.textNormal, colors.textHot, colors.textDisabled);
        Toolkit::SetCurrentTheme(pTheme);
        if (_SetToolbarButtonVisible(ID_ENGINE_ON, on))
            _SetToolbarButtonVisible(ID_ENGINE_OFF, !on);
    }
    if (Toolkit::CommandBars* pBars = GetCommandBars())
        pBars->RecalcLayout();
    if (m_pToolbar && m_pToolbar->m_hWnd) {
        m_pToolbar->Invalidate();
        m_pToolbar->UpdateWindow();
    }
}

void CMainFrame::OnClose() {
    Settings* pSettings = CBrunlowApp::GetSettings();
    const std::uint32_t closeAction = pSettings ? pSettings->GetCloseAction() : 2;
    if (_IsMinimized()) {
        _CloseOrDefer();
        return;
    }
    switch (closeAction) {
    case 0: ShowWindow(SW_MINIMIZE); break;
    case 1: m_trayIcon.MinimizeToTray(); break;
    case 2: _CloseOrDefer(); break;
    default: break;
    }
}

void CMainFrame::_CloseOrDefer() {
    if (m_openDialogs.empty()) {
        CFrameWnd::OnClose();
        return;
    }
    // The frame must outlive the dialogs' handlers: they end as cancelled
    // and the frame closes once the outermost one has returned.
    m_closeAfterDialogs = true;
    for (CDialog* pDialog : m_openDialogs) {
        if (pDialog->m_hWnd)
            pDialog->EndDialog(IDCANCEL);
    }
}

void CMainFrame::OnExit() {
    if (!IsWindowVisible())
        m_trayIcon.RestoreFromTray();
    ApplicationFramework::ProductInfo* pProduct = Product();
    std::wstring title = LanguageString(AppResources::StringID_CloseWarningTitle);
    std::wstring text = LanguageString(AppResources::StringID_CloseWarningText);
    if (pProduct) {
        title = pProduct->ExpandPlaceholders(title);
        text = pProduct->ExpandPlaceholders(text);
    }
    if (AfxShowMessageBox(m_hWnd, text.c_str(), title.c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES)
        _CloseOrDefer();
}

std::unique_ptr<CDialog> CMainFrame::_CreateDialog(FrameDialog kind) {
    switch (kind) {
    case FrameDialog::AddUrl: return std::unique_ptr<CDialog>(new AddUrlDlg(this));
    case FrameDialog::Settings: return std::unique_ptr<CDialog>(new CSettingsDlg(this));
    // The offers come from the update watcher and stand on their own.
    case FrameDialog::UpdateOffer: return std::unique_ptr<CDialog>(new UpdateRequestDlg(nullptr));
    case FrameDialog::ExtrasOffer: return std::unique_ptr<CDialog>(new ExtrasRequestDlg(nullptr));
    }
    return nullptr;
}

std::wstring CMainFrame::_GetDialogUrl(CDialog& dialog) {
    const wchar_t* url = static_cast<AddUrlDlg&>(dialog).GetUrl();
    return url ? url : L"";
}

INT_PTR CMainFrame::_RunDialog(CDialog& dialog) {
    m_bDialogOpen = true;
    m_openDialogs.push_back(&dialog);
    INT_PTR result = IDCANCEL;
    try {
        result = m_closeAfterDialogs ? IDCANCEL : dialog.DoModal();
    } catch (...) {
        m_openDialogs.pop_back();
        m_bDialogOpen = !m_openDialogs.empty();
        throw;
    }
    m_openDialogs.pop_back();
    m_bDialogOpen = !m_openDialogs.empty();
    if (m_closeAfterDialogs && m_openDialogs.empty()) {
        m_closeAfterDialogs = false;
        // Closing from inside the dialog's own caller: let that caller end first.
        ::PostMessageW(m_hWnd, kCloseRequestMessage, 0, 0);
        return IDCANCEL;
    }
    return m_closeAfterDialogs ? IDCANCEL : result;
}

INT_PTR CMainFrame::_RunDialog(FrameDialog kind, std::wstring* pUrl) {
    std::unique_ptr<CDialog> pDialog = _CreateDialog(kind);
    if (!pDialog)
        return IDCANCEL;
    const INT_PTR result = _RunDialog(*pDialog);
    if (pUrl && result == IDOK)
        *pUrl = _GetDialogUrl(*pDialog);
    return result;
}

void CMainFrame::OnAddUrl() {
    if (m_bDialogOpen)
        return;
    std::wstring url;
    if (_RunDialog(FrameDialog::AddUrl, &url) != IDOK)
        return;
    _AddUrl(url);
}

void CMainFrame::_AddUrl(const std::wstring& url) {
    const boost::shared_ptr<KavennaEngine::IEngine> engine = EngineIfAny();
    if (engine)
        engine->SetState(KavennaEngine::EngineOn, nullptr);
    const size_t schemeEnd = url.find(L"://");
    if (schemeEnd != std::wstring::npos && engine) {
        const std::wstring scheme = url.substr(0, schemeEnd);
        const bool web = boost::iequals(scheme, L"http") || boost::iequals(scheme, L"https") ||
                         boost::iequals(scheme, L"ftp");
        if ((!web || !FileSystem::File(url).GetExtension().empty()) && engine->AddUrl(url))
            return;
    }
    Settings* pSettings = CBrunlowApp::GetSettings();
    if (pSettings && pSettings->GetEnablePassive() && System::OpenInInternetExplorer(url))
        return;
    System::ShellExecuteInstance(L"open", url, L"", SW_SHOW);
}

void CMainFrame::OnSettings() {
    if (m_bDialogOpen)
        return;
    if (!IsWindowVisible())
        m_trayIcon.RestoreFromTray();
    Settings* pSettings = CBrunlowApp::GetSettings();
    const bool allowStealing = pSettings && pSettings->GetAllowStealingVideos();
    _RunDialog(FrameDialog::Settings);
    pSettings = CBrunlowApp::GetSettings();
    if (pSettings && pSettings->GetAllowStealingVideos() != allowStealing) {
        if (const boost::shared_ptr<KavennaEngine::IEngine> engine = EngineIfAny())
            engine->SetAllowStealing(pSettings->GetAllowStealingVideos());
    }
}

void CMainFrame::OnHelpSupport() {
    ApplicationFramework::ProductInfo* pProduct = Product();
    if (pProduct && !pProduct->GetSupportAddress().empty())
        System::ShellExecuteInstance(L"open", pProduct->GetSupportAddress(), L"", SW_SHOW);
}

void CMainFrame::OnOpenDownloadFolder() {
    Settings* pSettings = CBrunlowApp::GetSettings();
    if (!pSettings)
        return;
    const std::wstring folder = pSettings->GetVideosFolder();
    if (GenericServiceClient::Library* pLibrary = GenericServiceClient::GetLibrary()) {
        if (!pLibrary->PathExists(folder))
            pLibrary->CreateFolder(folder);
    }
    FileSystem::File(folder).ShellOpen(L"", SW_SHOWNORMAL);
}

void CMainFrame::OnShowHide() {
    if (_IsMinimized())
        ShowWindow(SW_SHOWNORMAL);
    else if (IsWindowVisible())
        m_trayIcon.MinimizeToTray();
    else
        m_trayIcon.RestoreFromTray();
}

LRESULT CMainFrame::OnUpdateOffer(WPARAM, LPARAM) {
    if (_RunDialog(FrameDialog::UpdateOffer) != IDOK)
        return 0;
    const std::wstring language =
        AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->GetCurrentLanguageName();
    if (ApplicationFramework::ExtrasInstaller::GetInstance().LaunchUpdater(language, false))
        _CloseOrDefer();
    return 0;
}

LRESULT CMainFrame::OnExtrasOffer(WPARAM, LPARAM) {
    if (_RunDialog(FrameDialog::ExtrasOffer) != IDOK)
        return 0;
    const std::wstring language =
        AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager()->GetCurrentLanguageName();
    ApplicationFramework::ExtrasInstaller::GetInstance().LaunchUpdater(language, true);
    return 0;
}

LRESULT CMainFrame::OnCloseRequest(WPARAM, LPARAM) {
    _CloseOrDefer();
    return 0;
}

void CMainFrame::OnUpdateAvailable() {
    ::SendMessageW(m_hWnd, kUpdateOfferMessage, 0, 0);
}

void CMainFrame::OnOfferExtras() {
    ::PostMessageW(m_hWnd, kExtrasOfferMessage, 0, 0);
}

void CMainFrame::OnDestroy() {
    if (Brunlow::ViewHost::Get() == &m_viewHost)
        Brunlow::ViewHost::Set(nullptr);
    // The update watcher must not call a frame that is going away.
    ApplicationFramework::ExtrasInstaller& watcher = ApplicationFramework::ExtrasInstaller::GetInstance();
    watcher.SetListener(nullptr);
    SaveCommandBars(L"CommandBars");
    if (_IsCaptionOfferOn()) {
        ApplicationFramework::ProductInfo* pProduct = Product();
        InterProductLib::LaunchProduct(pProduct->GetCaptionProductName(), pProduct->GetCaptionProductId(), false,
                                       false);
    }
    QE764::OnDestroy();
}

LRESULT CMainFrame::OnActivateInstance(WPARAM, LPARAM) {
    if (_IsMinimized())
        ShowWindow(SW_SHOWNORMAL);
    else if (!IsWindowVisible())
        m_trayIcon.RestoreFromTray();
    System::ForceForegroundWindow(m_hWnd);
    return kActivateInstanceAnswer;
}

void CMainFrame::OnNcPaint() {
    Default();
    if (_IsCaptionOfferOn())
        m_captionSurface.Paint();
}

void CMainFrame::OnSize(UINT nType, int cx, int cy) {
    QE764::OnSize(nType, cx, cy);
    if (_IsCaptionOfferOn() && m_captionSurface.GetWindow()) {
        // Decided for the new width before the strip is painted for it.
        _PlaceCaptionElement();
        m_captionSurface.OnSize();
    }
}

void CMainFrame::OnTimer(UINT_PTR nIDEvent) {
    Default();
    if (_IsCaptionOfferOn())
        m_captionSurface.OnTimer(nIDEvent);
}

void CMainFrame::OnSysCommand(UINT nID, LPARAM lParam) {
    QE764::OnSysCommand(nID, lParam);
    if ((nID & 0xFFF0) == SC_RESTORE) {
        // Nudges the bars into laying themselves out for the restored size.
        CRect rect;
        GetWindowRect(&rect);
        SetWindowPos(nullptr, 0, 0, rect.Width() + 1, rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
        SetWindowPos(nullptr, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    }
}

BOOL CMainFrame::OnNcActivate(BOOL bActive) {
    const BOOL result = QE764::OnNcActivate(bActive);
    if (_IsCaptionOfferOn())
        m_captionSurface.OnNcActivate(bActive);
    return result;
}

void CMainFrame::Paint(NCSurface& surface, CanvasT<CommonGuiLib::CMemDC>& canvas, const RECT&) {
    if (!_IsCaptionOfferOn())
        return;
    for (const CaptionPictureKey& entry : kCaptionPictures) {
        Picture& picture = m_captionPictures[entry.key];
        if (!picture.bitmap) {
            picture.bitmap = CommonGuiLib::LoadBitmapFromResourceId(::GetModuleHandleW(nullptr), entry.bitmapId, true);
            BITMAP info = {};
            if (picture.bitmap && ::GetObjectW(picture.bitmap->GetHandle(), sizeof(info), &info)) {
                picture.width = info.bmWidth;
                picture.height = info.bmHeight;
            }
        }
    }
    const RECT box = m_captionSurface.GetRegions().GetItemBox(0);
    if (::IsRectEmpty(&box))
        return;
    CommonGuiLib::StatePictures pictures;
    pictures.normal = m_captionPictures[634].bitmap;
    pictures.over = m_captionPictures[635].bitmap;
    pictures.down = m_captionPictures[636].bitmap;
    pictures.disabled = m_captionPictures[637].bitmap;
    pictures.perPixelAlpha = true;
    pictures.premultiplied = true;
    DrawingHelpers helpers(static_cast<CDC&>(canvas));
    helpers.DrawStateImage(pictures, box, m_captionSurface.GetHotIndex() == 0, true);
}

void CMainFrame::_UpdateCaptionTip() {
    const int hot = m_captionSurface.GetHotIndex();
    if (hot == m_captionTipElement)
        return;
    m_captionTipElement = hot;
    if (hot != 0) {
        m_captionTip.Hide();
        return;
    }
    // The tip says in the user's language what the element offers; its
    // pictures carry only the product's mark and name.
    std::wstring text;
    if (const boost::shared_ptr<ResourceLib::IManager> manager =
            AppResources::ResourceManagerHolder::GetManager()->GetResourceLibManager())
        text = manager->GetStringByName(L"CaptionOfferTooltip");
    if (text.empty())
        return;
    text = STLHelpers::FormatString1(text, Product()->GetCaptionProductName());
    CRect window;
    GetWindowRect(&window);
    const RECT box = m_captionSurface.GetRegions().GetItemBox(0);
    m_captionTip.Show(m_hWnd, POINT{window.left + box.left, window.top + box.bottom + 4}, text);
}

void CMainFrame::OnClick(NCSurface&, int index) {
    if (!_IsCaptionOfferOn() || index != 0)
        return;
    // The question that may follow would sit under the tip; it comes back with the next mouse move.
    m_captionTip.Hide();
    m_captionTipElement = kCaptionTipUndecided;
    ApplicationFramework::ProductInfo* pProduct = Product();
    const std::wstring name = pProduct->GetCaptionProductName();
    const std::wstring id = pProduct->GetCaptionProductId();
    if (InterProductLib::IsProductInstalled(name, id)) {
        InterProductLib::LaunchProduct(name, id, true, false);
        return;
    }
    const std::wstring text =
        STLHelpers::FormatString1(LanguageString(AppResources::StringID_BundleIsNotInstalled), name);
    if (AfxMessageBox(text.c_str(), MB_OKCANCEL) == IDOK)
        InterProductLib::LaunchProduct(name, id, true, true);
}

void CMainFrame::OnLanguageChanged(boost::shared_ptr<ResourceLib::IManager> manager,
                                   boost::shared_ptr<ResourceLib::ILanguage> previous,
                                   boost::shared_ptr<ResourceLib::ILanguage> current) {
    manager.reset();
    previous.reset();
    current.reset();
    if (m_hWnd)
        _ApplyLanguage();
}

namespace {

// A tray balloon's click hands over to the list's own action.
class BalloonActionForTray : public TrayIcon::IAction {
public:
    explicit BalloonActionForTray(const boost::shared_ptr<Brunlow::IBalloonAction>& pAction) : m_pAction(pAction) {}
    void PerformAction(TrayIcon& /*tray*/, DWORD tag) override {
        if (m_pAction)
            m_pAction->PerformAction(tag);
    }

private:
    boost::shared_ptr<Brunlow::IBalloonAction> m_pAction;
};

}  // namespace

boost::shared_ptr<LayoutLib::IManager> CMainFrame::ViewHost::GetLayoutManager() {
    return m_frame.GetLayoutManager();
}

void CMainFrame::ViewHost::ShowTrayBalloon(const std::wstring& text, const std::wstring& title, DWORD iconKind,
                                           UINT timeoutSeconds,
                                           const boost::shared_ptr<Brunlow::IBalloonAction>& pAction, DWORD tag) {
    boost::shared_ptr<TrayIcon::IAction> pTrayAction;
    if (pAction)
        pTrayAction.reset(new BalloonActionForTray(pAction));
    m_frame.GetTrayIcon().ShowBalloon(text, title, iconKind, timeoutSeconds, pTrayAction, tag);
}

INT_PTR CMainFrame::ViewHost::ShowExtrasRequest(CWnd* pParent, const std::wstring& cancelText,
                                                const std::wstring& okText) {
    ExtrasRequestDlg dialog(pParent);
    dialog.SetCancelButtonText(cancelText.c_str());
    dialog.SetOkButtonText(okText.c_str());
    return m_frame._RunDialog(dialog);
}

INT_PTR CMainFrame::ViewHost::RunDialog(CDialog& dialog) {
    return m_frame._RunDialog(dialog);
}
