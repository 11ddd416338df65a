#pragma once
// What the download list needs of the main window around it — the skin's
// layout, the tray balloon, the Extras offer — reached without linking the
// shell: the main window fills this layer when it is created and empties it
// when it goes.
//
//   if (Brunlow::IViewHost* pHost = Brunlow::ViewHost::Get())
//       pHost->ShowTrayBalloon(text, title, 1, 15, pAction, 0);
//
// Thread: GUI thread only.
#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <string>

class CDialog;
class CWnd;
namespace LayoutLib {
class IManager;
}

namespace Brunlow {

// What a click on a tray balloon runs, once.
class IBalloonAction {
public:
    virtual ~IBalloonAction() = default;
    virtual void PerformAction(DWORD tag) = 0;
};

class IViewHost {
public:
    virtual ~IViewHost() = default;
    // The main window's layout manager; empty when the skin has none.
    virtual boost::shared_ptr<LayoutLib::IManager> GetLayoutManager() = 0;
    // A balloon over the tray icon; `pAction` runs when the user clicks it.
    virtual void ShowTrayBalloon(const std::wstring& text, const std::wstring& title, DWORD iconKind,
                                 UINT timeoutSeconds, const boost::shared_ptr<IBalloonAction>& pAction,
                                 DWORD tag) = 0;
    // The offer to install the Extras, modal over `pParent`, with the given
    // button texts; the dialog's answer (IDOK when accepted).
    virtual INT_PTR ShowExtrasRequest(CWnd* pParent, const std::wstring& cancelText,
                                      const std::wstring& okText) = 0;
    // Runs one of the list's dialogs modally as one of the main window's
    // own: a close requested meanwhile ends it as cancelled and closes the
    // window after it has returned.
    virtual INT_PTR RunDialog(CDialog& dialog) = 0;
};

namespace ViewHost {

// The main window's layer; null empties it. Not owned.
void Set(IViewHost* pHost);
// Null while there is no main window.
IViewHost* Get();

}  // namespace ViewHost
}  // namespace Brunlow
