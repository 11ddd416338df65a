#include "AfxState.h"

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace {

BOOL DefaultTrackPopupMenu(HMENU hMenu, UINT nFlags, int x, int y, HWND hWndOwner, LPCRECT lpRect) {
    return ::TrackPopupMenu(hMenu, nFlags, x, y, 0, hWndOwner, lpRect);
}

AfxTrackPopupMenuHandler g_trackPopupMenu = &DefaultTrackPopupMenu;

}  // namespace

AfxTrackPopupMenuHandler AfxSetTrackPopupMenuHandler(AfxTrackPopupMenuHandler handler) {
    AfxTrackPopupMenuHandler previous = g_trackPopupMenu;
    g_trackPopupMenu = handler ? handler : &DefaultTrackPopupMenu;
    return previous;
}

CMenu* CMenu::FromHandle(HMENU hMenu) { return hMenu ? AfxGetThreadState().m_tempMenus.Get(hMenu) : nullptr; }

BOOL CMenu::Attach(HMENU hMenu) {
    if (!hMenu)
        return FALSE;
    if (m_hMenu && m_hMenu != hMenu)
        DestroyMenu();
    m_hMenu = hMenu;
    return TRUE;
}

HMENU CMenu::Detach() {
    HMENU hMenu = m_hMenu;
    m_hMenu = nullptr;
    return hMenu;
}

BOOL CMenu::CreateMenu() { return Attach(::CreateMenu()); }
BOOL CMenu::CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
BOOL CMenu::LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }

BOOL CMenu::LoadMenu(LPCWSTR lpszResourceName) {
    HINSTANCE module = AfxFindResourceHandle(lpszResourceName, reinterpret_cast<LPCWSTR>(RT_MENU));
    return Attach(::LoadMenuW(module, lpszResourceName));
}

BOOL CMenu::DestroyMenu() {
    if (!m_hMenu)
        return FALSE;
    return ::DestroyMenu(Detach());
}

CMenu* CMenu::GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
int CMenu::GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
UINT CMenu::GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
UINT CMenu::GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    int length = ::GetMenuStringW(m_hMenu, nIDItem, nullptr, 0, nFlags);
    int copied = ::GetMenuStringW(m_hMenu, nIDItem, rString.GetBuffer(length + 1), length + 1, nFlags);
    rString.ReleaseBuffer(copied);
    return copied;
}

UINT CMenu::EnableMenuItem(UINT nIDEnableItem, UINT nEnable) {
    return static_cast<UINT>(::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable));
}

UINT CMenu::CheckMenuItem(UINT nIDCheckItem, UINT nCheck) { return ::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck); }

BOOL CMenu::CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags) {
    return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }

BOOL CMenu::AppendMenu(UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem, LPCWSTR lpszNewItem) {
    return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
}

BOOL CMenu::RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
BOOL CMenu::DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect) {
    return g_trackPopupMenu(m_hMenu, nFlags, x, y, pWnd ? pWnd->m_hWnd : nullptr, lpRect);
}
