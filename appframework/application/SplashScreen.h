#pragma once
// The splash screen's text: start-up steps set it, the splash window paints it.
// Threads: the text is set on the GUI thread and read by whichever thread
// paints the splash window; the critical section guards the text.
#include "foundation/sync/CriticalSection.h"

#include <windows.h>

#include <string>

namespace ApplicationFramework {

class SplashScreen {
public:
    SplashScreen() = default;
    SplashScreen(const SplashScreen&) = delete;
    SplashScreen& operator=(const SplashScreen&) = delete;

    // Replaces the text and repaints the window when it exists.
    void SetText(const std::wstring& text);
    std::wstring GetText() const;

    void SetWindow(HWND window) { m_window = window; }
    HWND GetWindow() const { return m_window; }

private:
    mutable Synchronization::CriticalSection m_section;
    std::wstring m_text;
    HWND m_window = nullptr;
};

}  // namespace ApplicationFramework
