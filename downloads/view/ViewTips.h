#pragma once
// The tips of the day as the download list's tip panel reads them; the
// application's tips model answers through it. GUI thread only.
#include <string>

class IViewTips {
public:
    virtual ~IViewTips() = default;
    // The current tip's web link; empty when it has none.
    virtual std::wstring GetCurrentLink() = 0;
};
