#pragma once
// The download list in a test frame, made the way the program makes it:
// through the single-document template with the given frame and view classes.
#include "downloads/view/BrunlowView.h"

#include "DownloadsTestResources.h"

#include <cstdlib>

namespace DownloadsTests {

// Shows the template's frame without activating it; with a size, the frame
// gets that size. The frame, or null when the template made none.
inline CFrameWnd* OpenListFrame(CWinApp& app, CRuntimeClass* frameClass, CRuntimeClass* viewClass,
                                CSize size = CSize(0, 0)) {
    app.m_nCmdShow = SW_SHOWNOACTIVATE;
    app.AddDocTemplate(new CSingleDocTemplate(IDR_VIEWTESTFRAME, RUNTIME_CLASS(CBrunlowDoc), frameClass, viewClass));
    CCommandLineInfo info;
    app.ProcessShellCommand(info);
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(app.m_pMainWnd);
    if (frame && size.cx > 0)
        frame->SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return frame;
}

// Destroys the frame and takes the quit message it posted, so that the
// next modal loop of the process does not end at once.
inline void CloseListFrame(CWinApp& app) {
    if (app.m_pMainWnd && app.m_pMainWnd->m_hWnd)
        app.m_pMainWnd->DestroyWindow();
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// Paints the view and its children now, twice: the painter shows controls,
// which paint on the next round.
inline void RepaintList(CWnd* view) {
    for (int round = 0; round < 2; ++round) {
        view->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    ::GdiFlush();
}

// A window's rectangle in its parent's client coordinates.
inline CRect InParent(CWnd& window) {
    CRect rect;
    window.GetWindowRect(&rect);
    window.GetParent()->ScreenToClient(&rect);
    return rect;
}

// Each channel of the two colours within `tolerance` of the other's.
inline bool NearColour(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

// Where the list puts a row's bar and its button in the row's progress cell.
inline CRect BarInCell(const CRect& cell) {
    return CRect(cell.left, cell.top + 10, cell.right - 30, cell.bottom - 10);
}
inline CRect ButtonInCell(const CRect& cell) {
    return CRect(cell.right - 29, cell.bottom - 39, cell.right, cell.bottom - 10);
}

}  // namespace DownloadsTests
