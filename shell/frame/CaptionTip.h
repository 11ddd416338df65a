#pragma once
// CaptionTip: the tooltip of the caption element. The element lives in the
// window's caption, where no tool of a tooltip control reaches, so the tip is
// a tracking one that the frame shows below the element while the mouse is
// over it and hides when the mouse leaves.
//
// Thread: the frame's (GUI) thread.
#include <windows.h>
#include <commctrl.h>

#include <string>

class CaptionTip {
public:
    CaptionTip() = default;
    ~CaptionTip();
    CaptionTip(const CaptionTip&) = delete;
    CaptionTip& operator=(const CaptionTip&) = delete;

    // Shows the text with the tip's top-left corner at the screen point; the
    // tooltip window is made on first use, owned by `owner` (always the same).
    void Show(HWND owner, POINT screenPoint, const std::wstring& text);
    void Hide();
    bool IsShown() const;
    HWND GetWindow() const { return m_window; }

private:
    TOOLINFOW _Tool(const wchar_t* text) const;

    HWND m_window = nullptr;
    HWND m_owner = nullptr;
};
