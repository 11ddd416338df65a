#include "shell/tray/TrayIcon.h"

#include "appframework/product/ProductInfo.h"
#include "downloads/engine/ItemLocker.h"
#include "downloads/settings/Settings.h"
#include "foundation/errors/Checks.h"
#include "foundation/filesystem/Path.h"
#include "foundation/system/Process.h"
#include "foundation/system/ShellHelpers.h"
#include "resources/appresources/ResourceManagerHolder.h"
#include "shell/app/BrunlowApp.h"

#include "afxres_find.h"

#include <psapi.h>

namespace {

// The events that open the icon's menu.
constexpr UINT kSelect = 0x400;     // NIN_SELECT
constexpr UINT kKeySelect = 0x401;  // NIN_KEYSELECT
constexpr UINT kBalloonClick = 0x405;  // NIN_BALLOONUSERCLICK

struct MenuLabel {
    UINT command;
    int stringId;
};

const MenuLabel kMenuLabels[] = {
    {32774, AppResources::StringID_TrayShowHide},  {1001, AppResources::StringID_TrayOnOff},
    {1029, AppResources::StringID_TrayAddURL},     {1003, AppResources::StringID_TraySettings},
    {1014, AppResources::StringID_TrayBrowse},     {1060, AppResources::StringID_TrayHelpSupport},
    {32772, AppResources::StringID_TrayExit},
};

std::wstring Expand(const std::wstring& text) {
    const ApplicationFramework::ProductInfo* pInfo = ApplicationFramework::ProductInfo::GetCurrent();
    return pInfo ? pInfo->ExpandPlaceholders(text) : text;
}

std::wstring String(int id) {
    return AppResources::ResourceManagerHolder::GetManager()->GetString(id);
}

}  // namespace

BEGIN_MESSAGE_MAP(TrayIcon, QE1541)
    ON_MESSAGE(TrayIcon::kSetBusyMessage, &TrayIcon::OnSetBusy)
    ON_MESSAGE(TrayIcon::kRefreshMessage, &TrayIcon::OnRefresh)
    ON_MESSAGE(TrayIcon::kAdvancedRippingMessage, &TrayIcon::OnAdvancedRipping)
    ON_WM_TIMER()
END_MESSAGE_MAP()

TrayIcon::TrayIcon() {
    SubscribeEngine();
}

TrayIcon::~TrayIcon() {
    // First, so that no engine thread posts while the rest goes.
    UnsubscribeEngine();
    m_postWindow = nullptr;
    if (m_busyTimer && m_hWnd)
        KillTimer(m_busyTimer);
    m_busyTimer = 0;
    m_pAction.reset();
}

bool TrayIcon::Create(CWnd* pOwner) {
    m_pOwner = pOwner;
    const std::wstring tooltip = Expand(L"{ProductName}");
    // Through the toolkit's virtual operation, which a derived class may refine.
    if (!static_cast<QE1541*>(this)->Create(tooltip.c_str(), pOwner, kEngineOffIcon, kIconId))
        return false;
    UINT frames[kBusyIconCount];
    for (int i = 0; i < kBusyIconCount; ++i)
        frames[i] = kFirstBusyIcon + i;
    SetIconList(frames, kBusyIconCount, nullptr);
    SetTimer(kRefreshTimer, kRefreshMs, nullptr);
    m_postWindow = m_hWnd;
    UpdateIcon();
    return true;
}

void TrayIcon::UpdateIcon() {
    const boost::shared_ptr<KavennaEngine::IEngine> pEngine = Brunlow::AppAccess::GetKavennaEngine();
    if (m_isBusy || (pEngine && pEngine->IsBusy(false))) {
        Animate(kAnimationStepMs);
        return;
    }
    StopAnimation();
    SetIcon(pEngine && pEngine->GetState() == KavennaEngine::EngineOn ? kEngineOnIcon : kEngineOffIcon);
}

void TrayIcon::OnTimer(UINT_PTR id) {
    if (m_timer)
        HandleTimer(id);
    if (id == kRefreshTimer) {
        UpdateIcon();
    } else if (id == kBusyTimer) {
        KillTimer(m_busyTimer);
        m_busyTimer = 0;
        m_isBusy = false;
        UpdateIcon();
    }
}

LRESULT TrayIcon::OnSetBusy(WPARAM wParam, LPARAM) {
    m_isBusy = true;
    // The same id replaces a running timer: the period starts again.
    m_busyTimer = SetTimer(kBusyTimer, static_cast<UINT>(wParam), nullptr);
    UpdateIcon();
    return 0;
}

LRESULT TrayIcon::OnRefresh(WPARAM, LPARAM) {
    UpdateIcon();
    return 0;
}

void TrayIcon::PostToWindow(UINT message, WPARAM wParam) {
    // Posted, never sent: an engine thread must not wait for the GUI thread.
    const HWND window = m_postWindow;
    if (window)
        ::PostMessageW(window, message, wParam, 0);
}

void TrayIcon::OnEngineStateChanged(int) {
    PostToWindow(kRefreshMessage, 0);
}

void TrayIcon::OnItemStarted(KavennaEngine::DownloadItemHandle) {
    PostToWindow(kRefreshMessage, 0);
}

void TrayIcon::OnItemFinished(KavennaEngine::DownloadItemHandle) {
    PostToWindow(kRefreshMessage, 0);
}

void TrayIcon::OnDuplicateFound(KavennaEngine::DownloadItemHandle existingItem, KavennaEngine::DownloadItemHandle) {
    bool isRunning = false;
    {
        KavennaEngine::ItemLocker locker;
        const boost::shared_ptr<KavennaEngine::IDownloadItem> pOriginal = existingItem.Lock(locker);
        if (!pOriginal) {
            const ErrorHandling::ErrorCode code(E_FAIL);
            Reporting::GetModuleReportingObject().ReportError("((_$_pengItemOriginal))", &code);
            return;
        }
        KavennaEngine::IDownloadStage* pStage = pOriginal->GetDownloadStage();
        isRunning = pStage && pStage->IsRunning();
    }
    if (!isRunning)
        PostToWindow(kSetBusyMessage, kDuplicateBusyMs);
}

void TrayIcon::OnAdvancedRippingNeeded() {
    PostToWindow(kAdvancedRippingMessage, 0);
}

LRESULT TrayIcon::OnAdvancedRipping(WPARAM, LPARAM) {
    Settings* pSettings = CBrunlowApp::GetSettings();
    if (!pSettings || !pSettings->GetSuggestAdvancedRipping() || !pSettings->GetEnablePassive())
        return 0;
    if (IsInternetExplorerRunning())
        return 0;
    const std::wstring title = Expand(String(AppResources::StringID_InvalidStreamTrayTitle));
    const std::wstring text = Expand(String(AppResources::StringID_InvalidStreamTrayText));
    ShowBalloon(text, title, kOwnBalloonIcon, kOwnBalloonTimeout, MakeOpenIEAction(), 0);
    return 0;
}

bool TrayIcon::IsInternetExplorerRunning() const {
    const std::wstring path = System::GetInternetExplorerPath();
    if (path.empty())
        return false;
    System::ProcessList processes;
    System::FindProcessesByName(L"iexplore.exe", processes, true);
    for (System::Process& process : processes) {
        if (!process.Open(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ))
            continue;
        wchar_t executable[MAX_PATH] = {};
        ::GetModuleFileNameExW(process.GetHandle(), nullptr, executable, MAX_PATH);
        if (FileSystem::IsSamePath(executable, path))
            return true;
    }
    return false;
}

void TrayIcon::MinimizeToTray() {
    QE1541::MinimizeToTray(m_pOwner);
    m_pAction.reset();
    m_actionTag = 0;
    const std::wstring text = Expand(String(AppResources::StringID_MinToTrayText));
    const std::wstring title = Expand(String(AppResources::StringID_MinToTrayTitle));
    QE1541::ShowBalloon(text.c_str(), title.c_str(), kOwnBalloonIcon, kOwnBalloonTimeout);
}

void TrayIcon::RestoreFromTray() {
    MaximizeFromTray(m_pOwner);
}

void TrayIcon::ShowBalloon(const std::wstring& text, const std::wstring& title, DWORD iconKind, UINT timeoutSeconds,
                           const boost::shared_ptr<IAction>& pAction, DWORD tag) {
    m_pAction = pAction;
    m_actionTag = tag;
    QE1541::ShowBalloon(text.c_str(), title.c_str(), iconKind, timeoutSeconds);
}

LRESULT TrayIcon::OnTrayNotification(WPARAM id, LPARAM event) {
    if (id != GetIconId())
        return 0;
    const UINT code = LOWORD(event);
    if (code == kSelect || code == kKeySelect || code == WM_CONTEXTMENU || code == WM_RBUTTONUP)
        return ShowMenu();
    if (code == kBalloonClick && m_pAction) {
        // Dropped before it runs: whatever the action does, it runs once.
        const boost::shared_ptr<IAction> pAction = m_pAction;
        const DWORD tag = m_actionTag;
        m_pAction.reset();
        m_actionTag = 0;
        pAction->PerformAction(*this, tag);
    }
    return QE1541::OnTrayNotification(id, event);
}

LRESULT TrayIcon::ShowMenu() {
    const UINT menuId = GetIconId();
    CMenu menu;
    const HINSTANCE module = AfxFindResourceHandle(MAKEINTRESOURCEW(menuId), RT_MENU);
    if (!menu.Attach(::LoadMenuW(module, MAKEINTRESOURCEW(menuId))))
        return 0;
    CMenu* pPopup = menu.GetSubMenu(0);
    if (!pPopup)
        return 0;
    for (const MenuLabel& label : kMenuLabels) {
        const std::wstring text = String(label.stringId);
        // A language without the text keeps the menu's own.
        if (!text.empty())
            pPopup->ModifyMenu(label.command, MF_BYCOMMAND | MF_STRING, label.command, text.c_str());
    }
    pPopup->SetDefaultItem(GetMenuDefaultItem(), IsDefaultItemByPosition());
    POINT cursor = {};
    ::GetCursorPos(&cursor);
    CWnd* pTarget = GetTargetWnd();
    if (pTarget && pTarget->m_hWnd)
        pTarget->SetForegroundWindow();
    pPopup->TrackPopupMenu(0, cursor.x, cursor.y, pTarget);
    // The shell's advice: without a message after the menu, a second click
    // on the icon may not open it.
    if (pTarget && pTarget->m_hWnd)
        pTarget->PostMessage(WM_NULL, 0, 0);
    menu.DestroyMenu();
    OnMenuClosed(3);
    return 1;
}
