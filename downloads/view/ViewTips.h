#pragma once
// The tips of the day as the download list's tip panel reads them; the
// application hands the view one collection for the whole run, built over its
// tips model with show counting on. GUI thread only.
#include <string>

// One tip as the panel shows it, but its text: a copy, taken at the
// collection's position.
struct ViewTip {
    std::wstring moreInfoUrl;  // the web page of the link label; empty for none
    std::wstring picturePath;  // the picture file; empty when there is none
    int showCount = -1;        // above 0: the tip is shown at most that many times
    int shownCount = 0;        // times it was shown so far, this run included
};

class IViewTips {
public:
    virtual ~IViewTips() = default;
    // How many tips the collection holds.
    virtual unsigned GetTipsCount() = 0;
    // The tip at the position; an empty tip without a position.
    virtual ViewTip GetCurrentTip() = 0;
    // Its text in the language of that name; empty when it has none there.
    virtual std::wstring GetCurrentText(const std::wstring& language) = 0;
    // Move to the next (previous) showable tip, around the ends.
    virtual void MoveToNextTip() = 0;
    virtual void MoveToPreviousTip() = 0;
};
