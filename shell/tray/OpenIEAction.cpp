#include "shell/tray/OpenIEAction.h"

#include "foundation/system/ShellHelpers.h"

#include <boost/make_shared.hpp>

void OpenIEAction::PerformAction(TrayIcon&, DWORD) {
    System::OpenInInternetExplorer(wlitestring(L""));
}

boost::shared_ptr<TrayIcon::IAction> TrayIcon::MakeOpenIEAction() {
    return boost::make_shared<OpenIEAction>();
}
