#include "shell/frame/CaptionTip.h"

CaptionTip::~CaptionTip() {
    if (m_window && ::IsWindow(m_window))
        ::DestroyWindow(m_window);
}

TOOLINFOW CaptionTip::_Tool(const wchar_t* text) const {
    TOOLINFOW tool = {};
    // comctl32 5.80's size, which every version understands.
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = m_owner;
    tool.uId = 1;
    tool.lpszText = const_cast<wchar_t*>(text);
    return tool;
}

void CaptionTip::Show(HWND owner, POINT screenPoint, const std::wstring& text) {
    if (!m_window) {
        m_window = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                     ::GetModuleHandleW(nullptr), nullptr);
        if (!m_window)
            return;
        m_owner = owner;
        TOOLINFOW tool = _Tool(L"");
        ::SendMessageW(m_window, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // The control keeps a copy of the text.
    TOOLINFOW tool = _Tool(text.c_str());
    ::SendMessageW(m_window, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(m_window, TTM_TRACKPOSITION, 0, MAKELPARAM(screenPoint.x, screenPoint.y));
    ::SendMessageW(m_window, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

void CaptionTip::Hide() {
    if (!m_window)
        return;
    TOOLINFOW tool = _Tool(nullptr);
    ::SendMessageW(m_window, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
}

bool CaptionTip::IsShown() const { return m_window && ::IsWindowVisible(m_window); }
