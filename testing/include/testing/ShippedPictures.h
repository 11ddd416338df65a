#pragma once
// Checks of the pictures the program and the Updater ship against what they
// are drawn from. The build keeps each rendering of an SVG source as a
// 32-bit bitmap with straight alpha (build/pictures/masters, named after the
// picture: "RowStop", "Brunlow-16"); what the program draws from its
// resources must look like that rendering laid over the same background.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "testing/DibCanvas.h"
#include "testing/PictureFiles.h"

namespace Testing {

struct MasterPicture {
    int width = 0;
    int height = 0;
    std::vector<Bgra> pixels;  // top row first, straight alpha
};

// The rendering of that name; empty (width 0) when the build kept none.
MasterPicture LoadMasterPicture(const std::wstring& name);

// What the canvas shows at (left, top) against the master laid over a plain
// background: fails naming the first pixel that differs by more than the
// tolerance in a colour channel, or when the master is missing.
::testing::AssertionResult DrawnLikeMaster(const DibCanvas& canvas, int left, int top, const std::wstring& name,
                                           COLORREF background, int tolerance);

// The icon resource holds 32-bit images of 16, 32 and 48 pixels, and each,
// drawn with DrawIconEx on a dark and on a light background, looks like its
// master ("<name>-<size>").
::testing::AssertionResult IconDrawnLikeMasters(HMODULE module, int id, const std::wstring& name);

}  // namespace Testing
