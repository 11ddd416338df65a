#include "AfxState.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

namespace {

const AFX_MSGMAP_ENTRY kNoEntries[] = {{0, 0, 0, 0, nullptr, nullptr}};
const AFX_MSGMAP kCmdTargetMap = {nullptr, &kNoEntries[0]};

bool Matches(const AFX_MSGMAP_ENTRY& entry, UINT message, UINT code, UINT id) {
    if (entry.nMessage == AFX_REGISTERED_MESSAGE_ENTRY)
        return entry.pRegisteredMessage && *entry.pRegisteredMessage == message && code == 0 && id == 0;
    return entry.nMessage == message && entry.nCode == code && entry.nID <= id && id <= entry.nLastID;
}

// Command ids and codes are 16-bit in maps, as in MFC.
void SplitCode(int nCode, UINT& message, UINT& code) {
    if (nCode == CN_UPDATE_COMMAND_UI) {
        message = WM_COMMAND;
        code = 0xFFFF;
        return;
    }
    message = HIWORD(nCode);
    code = LOWORD(nCode);
    if (message == 0)
        message = WM_COMMAND;
}

}  // namespace

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const { return &kCmdTargetMap; }

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap() { return &kCmdTargetMap; }

BOOL CCmdTarget::DispatchToMap(UINT message, UINT code, UINT id, AFX_MSGCALL& call) {
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
            if (!Matches(*entry, message, code, id))
                continue;
            call.result = 0;
            if (entry->pfn(this, call))
                return TRUE;
            // The entry declined (an _EX handler answered FALSE): go on.
        }
    }
    return FALSE;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    UINT message = 0, code = 0;
    SplitCode(nCode, message, code);
    const UINT id = LOWORD(nID);
    if (pHandlerInfo) {
        // Only asked whether a handler exists.
        for (const AFX_MSGMAP* map = GetMessageMap(); map;
             map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
            for (const AFX_MSGMAP_ENTRY* entry = map->lpEntries; entry->pfn; ++entry) {
                if (Matches(*entry, message, code, id)) {
                    pHandlerInfo->pTarget = this;
                    return TRUE;
                }
            }
        }
        return FALSE;
    }
    AFX_MSGCALL call = {message, 0, 0, id, pExtra, 0};
    return DispatchToMap(message, code, id, call);
}

void CCmdUI::Enable(BOOL bOn) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;  // a popup's own state is left to the system
        m_pMenu->EnableMenuItem(m_nIndex, MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // A control losing the focus with its enabled state passes it on.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND next = ::GetNextDlgTabItem(::GetParent(m_pOther->m_hWnd), m_pOther->m_hWnd, FALSE);
            if (next)
                ::SetFocus(next);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        m_pMenu->CheckMenuItem(m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && (m_pOther->SendMessage(WM_GETDLGCODE) & DLGC_BUTTON)) {
        m_pOther->SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn) {
    if (m_pMenu && !m_pSubMenu) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_STATE;
        if (GetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info)) {
            info.fType |= MFT_RADIOCHECK;
            info.fState = bOn ? (info.fState | MFS_CHECKED) : (info.fState & ~MFS_CHECKED);
            SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
        }
        return;
    }
    SetCheck(bOn ? 1 : 0);
}

void CCmdUI::SetText(LPCWSTR lpszText) {
    if (m_pMenu) {
        if (m_pSubMenu)
            return;
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STRING;
        info.dwTypeData = const_cast<LPWSTR>(lpszText ? lpszText : L"");
        SetMenuItemInfoW(m_pMenu->m_hMenu, m_nIndex, TRUE, &info);
    } else if (m_pOther) {
        m_pOther->SetWindowText(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler) {
    if (m_nID == 0 || LOWORD(m_nID) == 0xFFFF)
        return TRUE;  // separators and popups have no command
    m_bEnableChanged = FALSE;
    BOOL result = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info = {nullptr};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return result;
}

LPUNKNOWN CCmdTarget::GetInterface(const void*) { return nullptr; }
