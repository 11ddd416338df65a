#pragma once
// The action of the tray balloon that announces a download to review: a
// click opens that download's video in the list's view. The item is found
// again by its review text when the balloon is clicked, so rows added or
// removed meanwhile do not matter.
//
//   host->ShowTrayBalloon(text, title, 1, 15,
//                         boost::make_shared<OpenVideoTrayAction>(this, reviewText), 0);
//
// Thread: GUI thread.
#include "downloads/app/ViewHost.h"

#include <windows.h>

#include <string>

class CBrunlowView;

class OpenVideoTrayAction : public Brunlow::IBalloonAction {
public:
    OpenVideoTrayAction(CBrunlowView* pView, const std::wstring& name);

    // Opens the video of the row whose review text is the name; nothing
    // when no row has it or the view is gone.
    void PerformAction(DWORD tag) override;

    const std::wstring& GetName() const { return m_name; }

private:
    // The view by its window: a balloon may outlive the view it came from.
    HWND m_hView;
    std::wstring m_name;
};
