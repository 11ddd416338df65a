#include "toolkit/QE806.h"

IMPLEMENT_DYNCREATE(QE806, CListView)

BEGIN_MESSAGE_MAP(QE806, CListView)
    ON_WM_PAINT()
END_MESSAGE_MAP()

QE806::QE806() = default;

QE806::~QE806() = default;

void QE806::SetColors(COLORREF text, COLORREF textBackground) {
    if (!m_hWnd)
        return;
    SendMessage(LVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(text));
    SendMessage(LVM_SETTEXTBKCOLOR, 0, static_cast<LPARAM>(textBackground));
}

void QE806::SetBackgroundColor(COLORREF background) {
    if (m_hWnd)
        SendMessage(LVM_SETBKCOLOR, 0, static_cast<LPARAM>(background));
}

void QE806::PaintList() {
    PAINTSTRUCT ps;
    HDC target = ::BeginPaint(m_hWnd, &ps);
    if (!target)
        return;
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    HDC memory = CreateCompatibleDC(target);
    HBITMAP bitmap = memory ? CreateCompatibleBitmap(target, client.right, client.bottom) : nullptr;
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        // The list control draws its background and rows into the copy; the
        // screen sees one blit, so rows never flicker through the background.
        SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT | PRF_ERASEBKGND);
        BitBlt(target, ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right - ps.rcPaint.left,
               ps.rcPaint.bottom - ps.rcPaint.top, memory, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
        SelectObject(memory, old);
        DeleteObject(bitmap);
    } else {
        // No memory for the copy: the control paints straight to the screen.
        SendMessage(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(target), PRF_CLIENT | PRF_ERASEBKGND);
    }
    if (memory)
        DeleteDC(memory);
    ::EndPaint(m_hWnd, &ps);
}

void QE806::OnPaint() {
    PaintList();
}
