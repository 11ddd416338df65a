#include "updater/app/UpdaterDlg.h"

#include "foundation/errors/GuiHandlerGuard.h"
#include "resources/appresources/UpdaterResourceIds.h"
#include "updater/app/UpdaterResource.h"
#include "updater/app/UpdaterTexts.h"
#include "updater/engine/UpdateController.h"
#include "updater/engine/UpdateWorker.h"
#include "updater/settings/UpdaterSettings.h"

using namespace AppResources::Updater;

namespace {

const wchar_t kStatusFontFace[] = L"Arial";
const int kStatusFontPoints = 11;

}  // namespace

BEGIN_MESSAGE_MAP(CUpdaterDlg, CDialog)
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_MESSAGE(CUpdaterDlg::kStateChangedMessage, &CUpdaterDlg::OnStateChanged)
    ON_MESSAGE(CUpdaterDlg::kProgressMessage, &CUpdaterDlg::OnProgress)
END_MESSAGE_MAP()

CUpdaterDlg::CUpdaterDlg(UpdaterSettings& settings, Engine::UpdateController& controller, CWnd* pParent)
    : CDialog(IDD_UPDATER_DIALOG, pParent), m_settings(settings), m_controller(controller) {
    m_hIcon = AfxGetApp() ? AfxGetApp()->LoadIcon(IDI_UPDATER)
                          : ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_UPDATER));
    m_controller.AddListener(this);
}

CUpdaterDlg::~CUpdaterDlg() {
    m_controller.RemoveListener(this);
}

void CUpdaterDlg::StateChanged() {
    Post(kStateChangedMessage);
}

void CUpdaterDlg::ProgressChanged() {
    Post(kProgressMessage);
}

void CUpdaterDlg::Post(UINT message) {
    // A notification after the window is gone (a stop at the end) is dropped.
    if (HWND target = m_postTarget.load())
        ::PostMessageW(target, message, 0, 0);
}

std::wstring CUpdaterDlg::Text(int id) {
    return UpdaterTexts::Get(id);
}

void CUpdaterDlg::SetStatus(const std::wstring& text) {
    m_status.SetText(text.c_str());
}

void CUpdaterDlg::StyleStatus() {
    m_status.SetFontName(kStatusFontFace, ANSI_CHARSET);
    m_status.SetFontSize(kStatusFontPoints);
}

void CUpdaterDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_UPDATER_STATUS, m_status);
    DDX_Control(pDX, IDC_UPDATER_PROGRESS, m_progress);
}

BOOL CUpdaterDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    SetWindowText(m_settings.ExpandPlaceholders(Text(StringID_ProductInstallation)).c_str());
    SetDlgItemText(IDOK, m_settings.ExpandPlaceholders(Text(StringID_LaunchProduct)).c_str());
    SetDlgItemText(IDCANCEL, m_settings.ExpandPlaceholders(Text(StringID_CancelInstallation)).c_str());

    StyleStatus();

    m_postTarget.store(m_hWnd);
    m_controller.StartWorker();
    SetStatus(Text(StringID_PreparingForDownload));
    UpdateData(FALSE);
    return TRUE;
}

void CUpdaterDlg::OnCancel() {
    m_isCancelled = true;
    m_controller.StopWorker();
    CDialog::OnCancel();
}

LRESULT CUpdaterDlg::OnStateChanged(WPARAM, LPARAM) {
    ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CUpdaterDlg::OnStateChanged"), [&] {
        if (m_controller.HasFailed() && !m_isCancelled) {
            // Set before the box: its own loop may deliver the next state message.
            if (!m_isFailureShown) {
                m_isFailureShown = true;
                MessageBox(m_settings.ExpandPlaceholders(Text(StringID_InstallationFailed)).c_str(),
                           Text(StringID_Error).c_str(), MB_OK | MB_ICONWARNING);
            }
            CDialog::OnCancel();
        }
        const int state = m_controller.GetState();
        switch (state) {
        case Engine::UpdateWorker::StatePreparing:
            SetStatus(Text(StringID_PreparingForDownload));
            break;
        case Engine::UpdateWorker::StateConnecting:
            SetStatus(Text(StringID_ConnectingToDownloadServer));
            break;
        case Engine::UpdateWorker::StateDownloading:
            SetStatus(Text(StringID_DownloadingComponents));
            break;
        case Engine::UpdateWorker::StateInstalling:
            SetStatus(Text(StringID_InstallingComponents));
            break;
        case Engine::UpdateWorker::StateFinished:
            SetStatus(Text(StringID_InstallationComplete));
            m_progress.ShowWindow(SW_HIDE);
            if (!m_settings.IsRunWithProduct()) {
                // Disabled until now: Enter would otherwise press the hidden
                // button and start the product in the middle of the run.
                GetDlgItem(IDOK)->EnableWindow(TRUE);
                GetDlgItem(IDOK)->ShowWindow(SW_SHOW);
            }
            SetDlgItemText(IDCANCEL, Text(StringID_Close).c_str());
            break;
        default:
            break;
        }
    });
    return 0;
}

LRESULT CUpdaterDlg::OnProgress(WPARAM, LPARAM) {
    // The bar counts in ints; a total past 2 GB would wrap, so both are scaled alike.
    unsigned long total = m_controller.GetTotalBytes();
    unsigned long done = m_controller.GetDoneBytes();
    while (total > 0x7FFFFFFFul) {
        total >>= 1;
        done >>= 1;
    }
    m_progress.SetRange32(0, static_cast<int>(total));
    m_progress.SetPos(static_cast<int>(done > 0x7FFFFFFFul ? 0x7FFFFFFFul : done));
    return 0;
}

void CUpdaterDlg::OnClose() {
    if (m_controller.GetState() == Engine::UpdateWorker::StateFinished)
        Default();
    else
        ShowWindow(SW_MINIMIZE);
}

void CUpdaterDlg::OnDestroy() {
    m_postTarget.store(nullptr);
    CDialog::OnDestroy();
}

void CUpdaterDlg::OnPaint() {
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    const int x = (client.Width() - ::GetSystemMetrics(SM_CXICON) + 1) / 2;
    const int y = (client.Height() - ::GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CUpdaterDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}
