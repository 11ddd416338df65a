#pragma once
// OpenIEAction: a balloon's action that starts Internet Explorer, so that
// the engine can catch the video in it.
#include "shell/tray/TrayIcon.h"

class OpenIEAction : public TrayIcon::IAction {
public:
    void PerformAction(TrayIcon& tray, DWORD tag) override;
};
