#include "appframework/application/SplashScreen.h"

namespace ApplicationFramework {

void SplashScreen::SetText(const std::wstring& text) {
    {
        Synchronization::CriticalSection::Scope lock(m_section);
        m_text = text;
    }
    if (::IsWindow(m_window))
        ::InvalidateRect(m_window, nullptr, TRUE);
}

std::wstring SplashScreen::GetText() const {
    Synchronization::CriticalSection::Scope lock(m_section);
    return m_text;
}

}  // namespace ApplicationFramework
