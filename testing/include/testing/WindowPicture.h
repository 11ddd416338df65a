#pragma once
// Pictures of windows that tests show, written as PNGs beside the test
// executable (build/bin/pictures) so that a person can look at what the
// test saw.
//
// A window of this process is read through its own DC: under Wine a
// top-level window draws into a surface of its own, so the picture holds
// the window's own pixels (frame, client area and children) whatever other
// windows lie over it on the shared display. Only a window of another
// process is read off the screen; a test that takes such a picture, or one
// of SaveScreenPicture, must run alone (a suite whose name ends in "Alone").
#include <windows.h>

#include <string>
#include <vector>

#include "testing/PictureFiles.h"

namespace Testing {

// The pixels of the whole window, top row first; empty when it cannot be read.
std::vector<Bgra> CaptureWindow(HWND hWnd, int& width, int& height);

// The pixels of the window's client area alone, read the same way.
std::vector<Bgra> CaptureClient(HWND hWnd, int& width, int& height);

// Writes the window's picture as pictures\<name>.png beside the executable;
// the written path, or empty when nothing could be written.
std::wstring SaveWindowPicture(HWND hWnd, const std::wstring& name);

// Writes what the screen shows over the window's rectangle instead: the
// window with the windows over it, such as its menu or tooltip. Only for a
// test that runs alone.
std::wstring SaveScreenPicture(HWND hWnd, const std::wstring& name);

}  // namespace Testing
