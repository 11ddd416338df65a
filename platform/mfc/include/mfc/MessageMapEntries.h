#pragma once
// The entries of BEGIN_MESSAGE_MAP ... END_MESSAGE_MAP. Each entry's function
// is a captureless lambda written inside ThisClass's own map function, so
// it may call ThisClass's protected and private handlers; the handler named
// by an ON_WM_xxx entry is found by ordinary name lookup (a class that does
// not declare OnPaint gets its base's, which does the default processing).
// Parameters are unpacked as MFC does (signed mouse coordinates, temporary
// CWnd and CDC objects for handles).

// An entry for a window message whose handler always accepts it.
#define AFX_WM_ENTRY(message, ...)                                                  \
    {message, 0, 0, 0, nullptr, [](CCmdTarget* target_, AFX_MSGCALL& call_) -> BOOL { \
         ThisClass* self_ = static_cast<ThisClass*>(target_);                       \
         (void)self_;                                                               \
         (void)call_;                                                               \
         __VA_ARGS__;                                                               \
         return TRUE;                                                               \
     }},

// An entry for a command or notification with an id range.
#define AFX_CMD_ENTRY(message, code, id, idLast, ...)                                                      \
    {message, static_cast<WORD>(code), static_cast<WORD>(id), static_cast<WORD>(idLast), nullptr,          \
     [](CCmdTarget* target_, AFX_MSGCALL& call_) -> BOOL {                                                 \
         ThisClass* self_ = static_cast<ThisClass*>(target_);                                              \
         (void)self_;                                                                                      \
         (void)call_;                                                                                      \
         __VA_ARGS__;                                                                                      \
     }},

#define AFX_CALL_WPARAM call_.wParam
#define AFX_CALL_LPARAM call_.lParam
#define AFX_CALL_POINT CPoint(call_.lParam)
#define AFX_CALL_WND(handle) CWnd::FromHandle(reinterpret_cast<HWND>(handle))
#define AFX_CALL_DC(handle) CDC::FromHandle(reinterpret_cast<HDC>(handle))
#define AFX_CALL_NOTIFY static_cast<AFX_NOTIFY*>(call_.pExtra)

// Window messages.
#define ON_WM_CREATE() \
    AFX_WM_ENTRY(WM_CREATE, call_.result = self_->OnCreate(reinterpret_cast<LPCREATESTRUCT>(AFX_CALL_LPARAM)))
#define ON_WM_DESTROY() AFX_WM_ENTRY(WM_DESTROY, self_->OnDestroy())
#define ON_WM_NCDESTROY() AFX_WM_ENTRY(WM_NCDESTROY, self_->OnNcDestroy())
#define ON_WM_CLOSE() AFX_WM_ENTRY(WM_CLOSE, self_->OnClose())
#define ON_WM_PAINT() AFX_WM_ENTRY(WM_PAINT, self_->OnPaint())
#define ON_WM_NCPAINT() AFX_WM_ENTRY(WM_NCPAINT, self_->OnNcPaint())
#define ON_WM_ERASEBKGND() \
    AFX_WM_ENTRY(WM_ERASEBKGND, call_.result = self_->OnEraseBkgnd(AFX_CALL_DC(AFX_CALL_WPARAM)))
#define ON_WM_SIZE()                                                                          \
    AFX_WM_ENTRY(WM_SIZE, self_->OnSize(static_cast<UINT>(AFX_CALL_WPARAM), LOWORD(AFX_CALL_LPARAM), \
                                        HIWORD(AFX_CALL_LPARAM)))
#define ON_WM_MOVE()                                                                      \
    AFX_WM_ENTRY(WM_MOVE, self_->OnMove(static_cast<short>(LOWORD(AFX_CALL_LPARAM)),      \
                                        static_cast<short>(HIWORD(AFX_CALL_LPARAM))))
#define ON_WM_TIMER() AFX_WM_ENTRY(WM_TIMER, self_->OnTimer(static_cast<UINT_PTR>(AFX_CALL_WPARAM)))
#define ON_WM_SHOWWINDOW() \
    AFX_WM_ENTRY(WM_SHOWWINDOW, self_->OnShowWindow(static_cast<BOOL>(AFX_CALL_WPARAM), static_cast<UINT>(AFX_CALL_LPARAM)))
#define ON_WM_WINDOWPOSCHANGING() \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGING, self_->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(AFX_CALL_LPARAM)))
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_WM_ENTRY(WM_WINDOWPOSCHANGED, self_->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(AFX_CALL_LPARAM)))
#define ON_WM_GETMINMAXINFO() \
    AFX_WM_ENTRY(WM_GETMINMAXINFO, self_->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(AFX_CALL_LPARAM)))

#define AFX_MOUSE_ENTRY(message, handler) \
    AFX_WM_ENTRY(message, self_->handler(static_cast<UINT>(AFX_CALL_WPARAM), AFX_CALL_POINT))
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_NCMOUSEMOVE() AFX_MOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
#define ON_WM_NCLBUTTONDOWN() AFX_MOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_MOUSEWHEEL()                                                                              \
    AFX_WM_ENTRY(WM_MOUSEWHEEL, call_.result = self_->OnMouseWheel(GET_KEYSTATE_WPARAM(AFX_CALL_WPARAM), \
                                                                   GET_WHEEL_DELTA_WPARAM(AFX_CALL_WPARAM), \
                                                                   AFX_CALL_POINT))
#define ON_WM_MOUSELEAVE() AFX_WM_ENTRY(WM_MOUSELEAVE, self_->OnMouseLeave())
#define ON_WM_NCHITTEST() AFX_WM_ENTRY(WM_NCHITTEST, call_.result = self_->OnNcHitTest(AFX_CALL_POINT))
#define ON_WM_SETCURSOR()                                                                                    \
    AFX_WM_ENTRY(WM_SETCURSOR, call_.result = self_->OnSetCursor(AFX_CALL_WND(AFX_CALL_WPARAM),              \
                                                                 LOWORD(AFX_CALL_LPARAM), HIWORD(AFX_CALL_LPARAM)))
#define ON_WM_MOUSEACTIVATE()                                                                              \
    AFX_WM_ENTRY(WM_MOUSEACTIVATE, call_.result = self_->OnMouseActivate(AFX_CALL_WND(AFX_CALL_WPARAM),        \
                                                                         LOWORD(AFX_CALL_LPARAM), HIWORD(AFX_CALL_LPARAM)))
#define ON_WM_CONTEXTMENU() \
    AFX_WM_ENTRY(WM_CONTEXTMENU, self_->OnContextMenu(AFX_CALL_WND(AFX_CALL_WPARAM), AFX_CALL_POINT))

#define AFX_KEY_ENTRY(message, handler)                                                                \
    AFX_WM_ENTRY(message, self_->handler(static_cast<UINT>(AFX_CALL_WPARAM), LOWORD(AFX_CALL_LPARAM), \
                                         HIWORD(AFX_CALL_LPARAM)))
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)

#define ON_WM_SETFOCUS() AFX_WM_ENTRY(WM_SETFOCUS, self_->OnSetFocus(AFX_CALL_WND(AFX_CALL_WPARAM)))
#define ON_WM_KILLFOCUS() AFX_WM_ENTRY(WM_KILLFOCUS, self_->OnKillFocus(AFX_CALL_WND(AFX_CALL_WPARAM)))
#define ON_WM_ACTIVATE()                                                                                \
    AFX_WM_ENTRY(WM_ACTIVATE, self_->OnActivate(LOWORD(AFX_CALL_WPARAM), AFX_CALL_WND(AFX_CALL_LPARAM), \
                                                HIWORD(AFX_CALL_WPARAM)))
#define ON_WM_ACTIVATEAPP() \
    AFX_WM_ENTRY(WM_ACTIVATEAPP, self_->OnActivateApp(static_cast<BOOL>(AFX_CALL_WPARAM), static_cast<DWORD>(AFX_CALL_LPARAM)))
#define ON_WM_NCACTIVATE() \
    AFX_WM_ENTRY(WM_NCACTIVATE, call_.result = self_->OnNcActivate(static_cast<BOOL>(AFX_CALL_WPARAM)))
#define ON_WM_NCCALCSIZE()                                                                       \
    AFX_WM_ENTRY(WM_NCCALCSIZE, self_->OnNcCalcSize(static_cast<BOOL>(AFX_CALL_WPARAM),          \
                                                    reinterpret_cast<NCCALCSIZE_PARAMS*>(AFX_CALL_LPARAM)))
#define ON_WM_ENABLE() AFX_WM_ENTRY(WM_ENABLE, self_->OnEnable(static_cast<BOOL>(AFX_CALL_WPARAM)))
#define ON_WM_CANCELMODE() AFX_WM_ENTRY(WM_CANCELMODE, self_->OnCancelMode())
#define ON_WM_GETDLGCODE() AFX_WM_ENTRY(WM_GETDLGCODE, call_.result = self_->OnGetDlgCode())
#define ON_WM_SYSCOLORCHANGE() AFX_WM_ENTRY(WM_SYSCOLORCHANGE, self_->OnSysColorChange())
#define ON_WM_QUERYDRAGICON() \
    AFX_WM_ENTRY(WM_QUERYDRAGICON, call_.result = reinterpret_cast<LRESULT>(self_->OnQueryDragIcon()))
#define ON_WM_SYSCOMMAND() \
    AFX_WM_ENTRY(WM_SYSCOMMAND, self_->OnSysCommand(static_cast<UINT>(AFX_CALL_WPARAM), AFX_CALL_LPARAM))
#define ON_WM_INITMENUPOPUP()                                                                             \
    AFX_WM_ENTRY(WM_INITMENUPOPUP, self_->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(AFX_CALL_WPARAM)), \
                                                          LOWORD(AFX_CALL_LPARAM), HIWORD(AFX_CALL_LPARAM)))
#define ON_WM_DROPFILES() AFX_WM_ENTRY(WM_DROPFILES, self_->OnDropFiles(reinterpret_cast<HDROP>(AFX_CALL_WPARAM)))

#define AFX_SCROLL_ENTRY(message, handler)                                                              \
    AFX_WM_ENTRY(message, self_->handler(LOWORD(AFX_CALL_WPARAM), HIWORD(AFX_CALL_WPARAM),              \
                                         reinterpret_cast<CScrollBar*>(AFX_CALL_WND(AFX_CALL_LPARAM))))
#define ON_WM_HSCROLL() AFX_SCROLL_ENTRY(WM_HSCROLL, OnHScroll)
#define ON_WM_VSCROLL() AFX_SCROLL_ENTRY(WM_VSCROLL, OnVScroll)

// Messages about child controls; CWnd's own map has them, to reflect them.
#define ON_WM_DRAWITEM()                                                                                   \
    AFX_WM_ENTRY(WM_DRAWITEM, self_->OnDrawItem(static_cast<int>(AFX_CALL_WPARAM),                         \
                                                reinterpret_cast<LPDRAWITEMSTRUCT>(AFX_CALL_LPARAM));      \
                 call_.result = TRUE)
#define ON_WM_MEASUREITEM()                                                                                \
    AFX_WM_ENTRY(WM_MEASUREITEM, self_->OnMeasureItem(static_cast<int>(AFX_CALL_WPARAM),                   \
                                                      reinterpret_cast<LPMEASUREITEMSTRUCT>(AFX_CALL_LPARAM)); \
                 call_.result = TRUE)
// Every WM_CTLCOLORxxx message; the CTLCOLOR_xxx kind arrives in call_.nID.
#define ON_WM_CTLCOLOR()                                                                                   \
    AFX_WM_ENTRY(WM_CTLCOLOR, call_.result = reinterpret_cast<LRESULT>(self_->OnCtlColor(                  \
                                  AFX_CALL_DC(AFX_CALL_WPARAM), AFX_CALL_WND(AFX_CALL_LPARAM), call_.nID)))

// Reflected messages, handled by the control they are about.
#define ON_WM_CTLCOLOR_REFLECT()                                                                    \
    {WM_REFLECT_BASE + WM_CTLCOLOR, 0, 0, 0, nullptr, [](CCmdTarget* target_, AFX_MSGCALL& call_) -> BOOL { \
         HBRUSH brush = static_cast<ThisClass*>(target_)->CtlColor(AFX_CALL_DC(AFX_CALL_WPARAM), call_.nID); \
         if (!brush)                                                                                \
             return FALSE; /* the parent decides */                                                 \
         call_.result = reinterpret_cast<LRESULT>(brush);                                           \
         return TRUE;                                                                               \
     }},
#define ON_WM_HSCROLL_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_HSCROLL, self_->HScroll(LOWORD(AFX_CALL_WPARAM), HIWORD(AFX_CALL_WPARAM)))
#define ON_WM_VSCROLL_REFLECT() \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_VSCROLL, self_->VScroll(LOWORD(AFX_CALL_WPARAM), HIWORD(AFX_CALL_WPARAM)))
#define ON_WM_DRAWITEM_REFLECT()                                                                       \
    AFX_WM_ENTRY(WM_REFLECT_BASE + WM_DRAWITEM,                                                        \
                 self_->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(AFX_CALL_LPARAM)); call_.result = TRUE)

// Any message, by number or by registered number:
// LRESULT handler(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFxn) \
    AFX_WM_ENTRY(message, call_.result = (self_->*(memberFxn))(AFX_CALL_WPARAM, AFX_CALL_LPARAM))
// void handler().
#define ON_MESSAGE_VOID(message, memberFxn) AFX_WM_ENTRY(message, (self_->*(memberFxn))())
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                                  \
    {AFX_REGISTERED_MESSAGE_ENTRY, 0, 0, 0, &(nMessageVariable), [](CCmdTarget* target_, AFX_MSGCALL& call_) -> BOOL { \
         call_.result = (static_cast<ThisClass*>(target_)->*(memberFxn))(AFX_CALL_WPARAM, AFX_CALL_LPARAM);  \
         return TRUE;                                                                                      \
     }},

// Commands (menus, accelerators, buttons): void handler().
#define ON_COMMAND(id, memberFxn) \
    AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, (self_->*(memberFxn))(); return TRUE)
#define ON_COMMAND_RANGE(id, idLast, memberFxn) \
    AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, idLast, (self_->*(memberFxn))(call_.nID); return TRUE)
// BOOL handler(UINT id): FALSE passes the command on.
#define ON_COMMAND_EX(id, memberFxn) \
    AFX_CMD_ENTRY(WM_COMMAND, CN_COMMAND, id, id, return (self_->*(memberFxn))(call_.nID))
// void handler(CCmdUI*).
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                                          \
    AFX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id,                                          \
                  CCmdUI* ui_ = static_cast<CCmdUI*>(call_.pExtra); ui_->m_bContinueRouting = FALSE; \
                  (self_->*(memberFxn))(ui_); BOOL taken_ = !ui_->m_bContinueRouting;               \
                  ui_->m_bContinueRouting = FALSE; return taken_)
#define ON_UPDATE_COMMAND_UI_RANGE(id, idLast, memberFxn)                                            \
    AFX_CMD_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, idLast,                                      \
                  CCmdUI* ui_ = static_cast<CCmdUI*>(call_.pExtra); ui_->m_bContinueRouting = FALSE; \
                  (self_->*(memberFxn))(ui_); BOOL taken_ = !ui_->m_bContinueRouting;               \
                  ui_->m_bContinueRouting = FALSE; return taken_)

// Control notifications sent with WM_COMMAND: void handler().
#define ON_CONTROL(code, id, memberFxn) AFX_CMD_ENTRY(WM_COMMAND, code, id, id, (self_->*(memberFxn))(); return TRUE)
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CBN_SELENDOK(id, memberFxn) ON_CONTROL(CBN_SELENDOK, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_STN_CLICKED(id, memberFxn) ON_CONTROL(STN_CLICKED, id, memberFxn)
#define ON_STN_DBLCLK(id, memberFxn) ON_CONTROL(STN_DBLCLK, id, memberFxn)

// Notifications sent with WM_NOTIFY: void handler(NMHDR*, LRESULT*).
#define ON_NOTIFY(code, id, memberFxn)                                                             \
    AFX_CMD_ENTRY(WM_NOTIFY, code, id, id,                                                         \
                  (self_->*(memberFxn))(AFX_CALL_NOTIFY->pNMHDR, AFX_CALL_NOTIFY->pResult); return TRUE)
// void handler(UINT id, NMHDR*, LRESULT*).
#define ON_NOTIFY_RANGE(code, id, idLast, memberFxn)                                                           \
    AFX_CMD_ENTRY(WM_NOTIFY, code, id, idLast,                                                                 \
                  (self_->*(memberFxn))(call_.nID, AFX_CALL_NOTIFY->pNMHDR, AFX_CALL_NOTIFY->pResult); return TRUE)
// BOOL handler(UINT id, NMHDR*, LRESULT*): FALSE passes it on.
#define ON_NOTIFY_EX(code, id, memberFxn) \
    AFX_CMD_ENTRY(WM_NOTIFY, code, id, id,  \
                  return (self_->*(memberFxn))(call_.nID, AFX_CALL_NOTIFY->pNMHDR, AFX_CALL_NOTIFY->pResult))

// Reflected to the control itself. The plain forms keep the notification
// from the parent; the _EX forms return FALSE to let the parent have it too.
#define ON_CONTROL_REFLECT(code, memberFxn) \
    AFX_CMD_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, (self_->*(memberFxn))(); return TRUE)
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
    AFX_CMD_ENTRY(WM_REFLECT_BASE + WM_COMMAND, code, 0, 0, return (self_->*(memberFxn))())
#define ON_NOTIFY_REFLECT(code, memberFxn)                                         \
    AFX_CMD_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0,                         \
                  (self_->*(memberFxn))(AFX_CALL_NOTIFY->pNMHDR, AFX_CALL_NOTIFY->pResult); return TRUE)
#define ON_NOTIFY_REFLECT_EX(code, memberFxn)             \
    AFX_CMD_ENTRY(WM_REFLECT_BASE + WM_NOTIFY, code, 0, 0, \
                  return (self_->*(memberFxn))(AFX_CALL_NOTIFY->pNMHDR, AFX_CALL_NOTIFY->pResult))
