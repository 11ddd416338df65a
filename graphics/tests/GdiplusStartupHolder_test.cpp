#include "graphics/commongui/PictureLoaders.h"
#include "graphics/gdiplus/GdiplusStartupHolder.h"

#include "testing/ChildProcess.h"
#include "testing/PictureFiles.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace CommonGuiLib;

const std::vector<Testing::Bgra> kPixels = {{1, 2, 3, 4}, {5, 6, 7, 8}};

// The process-wide start-up is made before main(): pictures decode in a fresh
// process that never made a holder, and GDI+ is shut down at exit cleanly.
TESTING_CHILD_SCENARIO(GdiplusDecodesWithoutAHolder) {
    if (!IsProcessGdiplusStarted())
        return 2;
    const std::wstring path = ::_wgetenv(L"SKIN_TEST_PICTURE");
    return IsNullGDIObject(LoadBitmapFromFile(path, false)) ? 1 : 0;
}

TEST(GdiplusStartupHolder, ProcessWideStartUpServesAFreshProcess) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(L"picture.png", Testing::MakePng(2, 1, kPixels));
    ASSERT_FALSE(Testing::ReadFileBytes(path).empty());
    EXPECT_TRUE(Testing::ChildSucceeded(
        Testing::RunChildScenario("GdiplusDecodesWithoutAHolder", {{L"SKIN_TEST_PICTURE", path}})));
}

TEST(GdiplusStartupHolder, StartUpsAreCounted) {
    Testing::TempFolder folder;
    const std::wstring path = folder.WriteFile(L"picture.png", Testing::MakePng(2, 1, kPixels));
    {
        GdiplusStartupHolder first;
        auto second = std::make_unique<GdiplusStartupHolder>();
        EXPECT_NE(0u, first.GetToken());
        EXPECT_NE(0u, second->GetToken());
        EXPECT_FALSE(IsNullGDIObject(LoadBitmapFromFile(path, false)));
        second.reset();
        EXPECT_FALSE(IsNullGDIObject(LoadBitmapFromFile(path, false)));
    }
    // The holders' start-ups are undone; the process-wide one remains.
    EXPECT_FALSE(IsNullGDIObject(LoadBitmapFromFile(path, false)));
}

}  // namespace
