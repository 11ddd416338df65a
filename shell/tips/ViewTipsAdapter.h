#pragma once
// The download list's tips: the view's one collection for the whole run,
// over the tips model with show counting on. Destroying it (with the view)
// writes the statistics of the run.
//
//   view.SetTips(boost::make_shared<Tips::ViewTipsAdapter>());
//
// Threads: the GUI thread, as the view that holds it.
#include "downloads/view/ViewTips.h"
#include "shell/tips/TipsOfTheDay.h"

#include <string>

namespace Tips {

class ViewTipsAdapter : public IViewTips {
public:
    // The installed tips file (or the fallback), counting shows.
    ViewTipsAdapter();
    // The tips of that file, counting shows.
    explicit ViewTipsAdapter(const std::wstring& path);

    unsigned GetTipsCount() override;
    ViewTip GetCurrentTip() override;
    std::wstring GetCurrentText(const std::wstring& language) override;
    void MoveToNextTip() override;
    void MoveToPreviousTip() override;

private:
    TipsOfTheDay m_tips;
};

}  // namespace Tips
