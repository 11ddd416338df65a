#include "AfxState.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
    ON_MESSAGE(WM_INITDIALOG, &CDialog::HandleInitDialog)
END_MESSAGE_MAP()

namespace {

// The owner of a dialog: the given parent window, else the main window,
// taken at its top level and its last active popup (so that a dialog opened
// from another dialog is owned by that one).
HWND DialogOwner(CWnd* self, CWnd* parent) {
    HWND owner = parent ? parent->m_hWnd : nullptr;
    if (!owner) {
        CWnd* main = AfxGetMainWnd();
        if (main && main != self)
            owner = main->m_hWnd;
    }
    while (owner && (GetWindowLongW(owner, GWL_STYLE) & WS_CHILD))
        owner = ::GetParent(owner);
    if (owner)
        owner = ::GetLastActivePopup(owner);
    return owner;
}

// Gives the owner back its enabled state, and the dialog its end, however
// DoModal is left.
class ModalScope {
public:
    ModalScope(CDialog& dialog, HWND owner) : m_dialog(dialog), m_owner(owner) {
        if (owner && ::IsWindowEnabled(owner)) {
            ::EnableWindow(owner, FALSE);
            m_enableOwner = true;
        }
    }
    ~ModalScope() {
        if (m_dialog.m_hWnd)
            ::SetWindowPos(m_dialog.m_hWnd, nullptr, 0, 0, 0, 0,
                           SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        // The owner is enabled before the dialog goes, so it gets the activation back.
        if (m_enableOwner)
            ::EnableWindow(m_owner, TRUE);
        if (m_owner && m_dialog.m_hWnd && ::GetActiveWindow() == m_dialog.m_hWnd)
            ::SetActiveWindow(m_owner);
        m_dialog.DestroyWindow();
        m_dialog.m_nFlags &= ~(WF_CONTINUEMODAL | WF_MODALLOOP);
    }

private:
    CDialog& m_dialog;
    HWND m_owner;
    bool m_enableOwner = false;
};

}  // namespace

INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM) {
    // Every message reached the CDialog through AfxWndProc before the
    // dialog manager's procedure called us; nothing is left to do.
    return FALSE;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_pParentWnd(pParentWnd), m_nIDHelp(nIDTemplate) {}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

LPCDLGTEMPLATEW CDialog::LoadTemplate() const {
    if (m_lpDialogTemplate)
        return m_lpDialogTemplate;
    if (!m_lpszTemplateName)
        return nullptr;
    HINSTANCE module = AfxFindResourceHandle(m_lpszTemplateName, reinterpret_cast<LPCWSTR>(RT_DIALOG));
    HRSRC resource = FindResourceW(module, m_lpszTemplateName, reinterpret_cast<LPCWSTR>(RT_DIALOG));
    if (!resource)
        return nullptr;
    HGLOBAL loaded = LoadResource(module, resource);
    return loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
}

HWND CDialog::CreateFromTemplate(LPCDLGTEMPLATEW dialogTemplate, HWND owner) {
    HWND hWnd = nullptr;
    BOOL bound = FALSE;
    {
        CAfxCreationHook hook(this);
        hWnd = CreateDialogIndirectParamW(AfxGetInstanceHandle(), dialogTemplate, owner, &AfxDlgProc, 0);
        bound = hook.Bound();
    }
    if (hWnd && !bound) {
        ::DestroyWindow(hWnd);
        hWnd = nullptr;
    }
    return hWnd;
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
    m_nIDHelp = nIDTemplate;
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd) {
    m_lpszTemplateName = lpszTemplateName;
    LPCDLGTEMPLATEW dialogTemplate = LoadTemplate();
    return dialogTemplate ? CreateIndirect(dialogTemplate, pParentWnd) : FALSE;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
    if (m_hWnd || !lpDialogTemplate)
        return FALSE;
    m_pParentWnd = pParentWnd;
    return CreateFromTemplate(lpDialogTemplate, DialogOwner(this, pParentWnd)) != nullptr;
}

INT_PTR CDialog::DoModal() {
    LPCDLGTEMPLATEW dialogTemplate = LoadTemplate();
    if (!dialogTemplate || m_hWnd)
        return -1;
    m_nModalResult = -1;
    // Set before the window exists, so that EndDialog in OnInitDialog ends
    // the dialog before its loop starts.
    m_nFlags |= WF_CONTINUEMODAL;
    HWND owner = DialogOwner(this, m_pParentWnd);
    {
        ModalScope scope(*this, owner);
        if (CreateFromTemplate(dialogTemplate, owner) && ContinueModal()) {
            DWORD flags = MLF_SHOWONIDLE;
            if (GetStyle() & DS_NOIDLEMSG)
                flags |= MLF_NOIDLEMSG;
            RunModalLoop(flags);
        }
    }
    return m_nModalResult;
}

void CDialog::EndDialog(int nResult) {
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

LRESULT CDialog::HandleInitDialog(WPARAM, LPARAM) {
    RECT before = {};
    ::GetWindowRect(m_hWnd, &before);
    const DWORD styleBefore = GetStyle();
    const BOOL result = OnInitDialog();
    CentreIfUnplaced(before, styleBefore);
    return result;
}

// Nothing but this places a dialog whose template gives no position: with
// no window manager it would open at the screen's corner. A dialog its own
// initialisation showed or moved, a child, a modeless one beside an enabled
// owner and one the dialog manager centres itself are left alone.
void CDialog::CentreIfUnplaced(const RECT& before, DWORD styleBefore) {
    if (!m_hWnd || (styleBefore & WS_VISIBLE))
        return;
    const DWORD style = GetStyle();
    if ((style & (WS_VISIBLE | WS_CHILD)) || (style & (DS_CENTER | DS_CENTERMOUSE | DS_ABSALIGN)))
        return;
    RECT now = {};
    ::GetWindowRect(m_hWnd, &now);
    if (now.left != before.left || now.top != before.top)
        return;
    const HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner && ::IsWindowEnabled(owner))
        return;
    CenterWindow();
}

BOOL CDialog::OnInitDialog() {
    if (!UpdateData(FALSE)) {
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
    const UINT message = pMsg->message;
    const bool input = (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
                       (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
    return input && m_hWnd && ::IsDialogMessageW(m_hWnd, pMsg);
}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), TRUE);
}

void CDialog::NextDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { SendMessage(WM_NEXTDLGCTL, 1, 0); }
void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }
DWORD CDialog::GetDefID() const { return static_cast<DWORD>(SendMessage(DM_GETDEFID)); }
void CDialog::MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }
