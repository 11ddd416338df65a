#pragma once
// Pictures of windows that tests show: what the screen holds under a window,
// written as a PNG beside the test executable (build/bin/pictures), so a
// person can look at what the test saw.
#include <windows.h>

#include <string>
#include <vector>

#include "testing/PictureFiles.h"

namespace Testing {

// The pixels of the window's rectangle on the screen, top row first; empty
// when the screen cannot be read.
std::vector<Bgra> CaptureWindow(HWND hWnd, int& width, int& height);

// Writes the window's picture as pictures\<name>.png beside the executable;
// the written path, or empty when nothing could be written.
std::wstring SaveWindowPicture(HWND hWnd, const std::wstring& name);

}  // namespace Testing
