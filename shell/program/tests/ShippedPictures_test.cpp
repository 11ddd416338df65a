// The program's pictures as it loads and draws them, against the SVG
// renderings the build made them from: every icon at 16, 32 and 48 pixels
// with its alpha, the bitmaps drawn with a colour left out fitting the
// background they are drawn on, and the caption element's pictures blended
// after the premultiplication the frame does itself.
#include "downloads/resources/DownloadsResources.h"
#include "downloads/view/BrunlowView.h"
#include "graphics/commongui/PictureLoaders.h"
#include "shell/program/BrunlowResources.h"
#include "testing/DibCanvas.h"
#include "testing/ShippedPictures.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <string>

namespace {

HMODULE Module() { return ::GetModuleHandleW(nullptr); }

// A CDC over the canvas's DC, for the program's own drawing functions.
class CanvasDC : public CDC {
public:
    explicit CanvasDC(HDC dc) { m_hDC = m_hAttribDC = dc; }
    ~CanvasDC() override { m_hDC = m_hAttribDC = nullptr; }
};

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info = {};
    ::GetObjectW(bitmap, sizeof(info), &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

TEST(ShippedPictures, IconsHoldEverySizeAndDrawAsTheirSources) {
    const struct {
        int id;
        const wchar_t* name;
    } icons[] = {
        {IDR_MAINFRAME, L"Brunlow"},      {IDI_OFFER, L"Offer"},
        {IDI_TRAY_ENGINE_ON, L"EngineOn"}, {IDI_TRAY_ENGINE_OFF, L"EngineOff"},
        {IDI_TRAY_BUSY_1, L"Busy1"},       {IDI_TRAY_BUSY_2, L"Busy2"},
        {IDI_TRAY_BUSY_3, L"Busy3"},       {IDI_TRAY_BUSY_4, L"Busy4"},
        {IDI_TRAY_BUSY_5, L"Busy5"},       {IDI_TRAY_BUSY_6, L"Busy6"},
        {IDI_ROW_VIDEO, L"RowVideo"},      {IDI_ROW_MEDIA, L"RowMedia"},
        {IDI_ROW_OTHER, L"RowOther"},      {IDI_ROW_COMPLETE, L"RowComplete"},
    };
    for (const auto& icon : icons) {
        SCOPED_TRACE(icon.id);
        EXPECT_TRUE(Testing::IconDrawnLikeMasters(Module(), icon.id, icon.name));
    }
}

// Drawn as the list draws them, with the colour left out, on the colour they
// are shown on. Pixels the picture only grazes (under an eighth opaque) are
// left out too, so they may differ by up to that much.
TEST(ShippedPictures, BitmapsWithATransparentColourFitTheirBackground) {
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF rowButton = RGB(0x36, 0x36, 0x36);   // the row buttons' face
    const COLORREF listOn = RGB(0x2E, 0x2E, 0x2E);      // the list, engine on
    const COLORREF listOff = RGB(0x3C, 0x3C, 0x3C);     // the list, engine off
    const COLORREF toolbar = RGB(0x40, 0x40, 0x40);     // the toolbar's gradient, halfway
    const struct {
        int id;
        const wchar_t* name;
        COLORREF transparent;
        COLORREF background;
        int tolerance;
    } bitmaps[] = {
        {IDB_ROW_STOP, L"RowStop", white, rowButton, 32},
        {IDB_ROW_CONVERT, L"RowConvert", white, rowButton, 32},
        {IDB_ROW_COPY, L"RowCopy", white, rowButton, 32},
        {IDB_ROW_REDOWNLOAD, L"RowReDownload", white, rowButton, 32},
        {IDB_EMPTY_LIST, L"EmptyList", white, listOn, 32},
        {IDB_EMPTY_LIST, L"EmptyList", white, listOff, 40},
        {IDB_TIP_PICTURE, L"TipPicture", white, listOn, 32},
        {IDB_TIP_PICTURE, L"TipPicture", white, listOff, 40},
        {IDR_MAINFRAME, L"Toolbar", RGB(192, 192, 192), toolbar, 32},
    };
    for (const auto& bitmap : bitmaps) {
        SCOPED_TRACE(std::string(bitmap.name, bitmap.name + wcslen(bitmap.name)));
        const CommonGuiLib::SharedBitmap picture = CommonGuiLib::LoadBitmapFromResourceId(nullptr, WORD(bitmap.id), false);
        ASSERT_TRUE(picture);
        const SIZE size = BitmapSize(picture->GetHandle());
        Testing::DibCanvas canvas(size.cx, size.cy, bitmap.background);
        {
            CanvasDC dc(canvas.Dc());
            DrawTransparentBitmap(picture->GetHandle(), &dc, 0, 0, bitmap.transparent);
        }
        EXPECT_TRUE(Testing::DrawnLikeMaster(canvas, 0, 0, bitmap.name, bitmap.background, bitmap.tolerance));
    }
}

// Loaded and premultiplied as the frame does, then blended over the caption.
TEST(ShippedPictures, CaptionPicturesBlendWithTheirAlpha) {
    const struct {
        int id;
        const wchar_t* name;
    } pictures[] = {
        {IDB_CAPTION_NORMAL, L"CaptionNormal"},
        {IDB_CAPTION_OVER, L"CaptionOver"},
        {IDB_CAPTION_PRESSED, L"CaptionPressed"},
        {IDB_CAPTION_DISABLED, L"CaptionDisabled"},
    };
    for (const auto& entry : pictures) {
        SCOPED_TRACE(std::string(entry.name, entry.name + wcslen(entry.name)));
        const CommonGuiLib::SharedBitmap picture =
            CommonGuiLib::LoadBitmapFromResourceId(Module(), WORD(entry.id), true);
        ASSERT_TRUE(picture);
        const SIZE size = BitmapSize(picture->GetHandle());
        EXPECT_EQ(168, size.cx);
        EXPECT_EQ(20, size.cy);
        for (COLORREF caption : {RGB(0x0A, 0x24, 0x6A), RGB(0xA6, 0xCA, 0xF0)}) {
            Testing::DibCanvas canvas(size.cx, size.cy, caption);
            HDC source = ::CreateCompatibleDC(canvas.Dc());
            HGDIOBJ previous = ::SelectObject(source, picture->GetHandle());
            const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
            ::AlphaBlend(canvas.Dc(), 0, 0, size.cx, size.cy, source, 0, 0, size.cx, size.cy, blend);
            ::SelectObject(source, previous);
            ::DeleteDC(source);
            EXPECT_TRUE(Testing::DrawnLikeMaster(canvas, 0, 0, entry.name, caption, 3));
        }
    }
}

}  // namespace
