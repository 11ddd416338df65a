#pragma once
// The main window's layer as the list tests give it: a layout of the test's
// choosing, tray balloons and Extras offers recorded (the offer answered as
// the test says), and the list's dialogs run modally, for the modal seam to
// answer.
#include "downloads/app/ViewHost.h"

#include <afxwin.h>

#include <boost/shared_ptr.hpp>

#include <stdexcept>
#include <string>
#include <vector>

namespace DownloadsTests {

class RecordingViewHost : public Brunlow::IViewHost {
public:
    struct Balloon {
        std::wstring text, title;
        DWORD iconKind;
        UINT timeout;
        boost::shared_ptr<Brunlow::IBalloonAction> action;
        DWORD tag;
    };
    struct Offer {
        std::wstring cancelText, okText;
    };

    boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() override {
        if (throwFromLayout)
            throw std::runtime_error("no layout today");
        return layout;
    }
    void ShowTrayBalloon(const std::wstring& text, const std::wstring& title, DWORD iconKind, UINT timeoutSeconds,
                         const boost::shared_ptr<Brunlow::IBalloonAction>& pAction, DWORD tag) override {
        balloons.push_back({text, title, iconKind, timeoutSeconds, pAction, tag});
    }
    INT_PTR ShowExtrasRequest(CWnd*, const std::wstring& cancelText, const std::wstring& okText) override {
        offers.push_back({cancelText, okText});
        return offerAnswer;
    }
    INT_PTR RunDialog(CDialog& dialog) override {
        ++dialogs;
        const INT_PTR answer = dialog.DoModal();
        answers.push_back(answer);
        return answer;
    }

    boost::shared_ptr<LayoutLib::IManager> layout;
    bool throwFromLayout = false;
    std::vector<Balloon> balloons;
    std::vector<Offer> offers;
    INT_PTR offerAnswer = IDCANCEL;
    std::vector<INT_PTR> answers;
    int dialogs = 0;
};

}  // namespace DownloadsTests
