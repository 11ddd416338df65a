#include "shell/tips/ViewTipsAdapter.h"

namespace Tips {

ViewTipsAdapter::ViewTipsAdapter() : m_tips(true) {}

ViewTipsAdapter::ViewTipsAdapter(const std::wstring& path) : m_tips(path, true) {}

unsigned ViewTipsAdapter::GetTipsCount() {
    return m_tips.GetTipsCount();
}

ViewTip ViewTipsAdapter::GetCurrentTip() {
    const Tip tip = m_tips.GetCurrentTip();
    ViewTip shown;
    shown.moreInfoUrl = tip.GetMoreInfoUrl();
    shown.picturePath = tip.GetPicturePath();
    shown.showCount = tip.GetShowCount();
    shown.shownCount = tip.GetShownCount();
    return shown;
}

std::wstring ViewTipsAdapter::GetCurrentText(const std::wstring& language) {
    return m_tips.GetCurrentTip().GetText(language);
}

void ViewTipsAdapter::MoveToNextTip() {
    m_tips.GetNextTip(0);
}

void ViewTipsAdapter::MoveToPreviousTip() {
    m_tips.GetPreviousTip(0);
}

}  // namespace Tips
