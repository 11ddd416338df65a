#include <atlimage.h>

#include "testing/PictureFiles.h"
#include "testing/TempFolder.h"

#include <gdiplus.h>
#include <gtest/gtest.h>

#include <cstring>

namespace {

using Testing::Bgra;

const std::vector<Bgra> kPixels = {{200, 100, 50, 128}, {0, 0, 255, 255}, {10, 20, 30, 0}, {40, 80, 120, 255}};

class CImageTest : public testing::Test {
protected:
    // The program starts GDI+ itself; CImage relies on that.
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_token, &input, nullptr);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }

    static DIBSECTION Describe(HBITMAP bitmap) {
        DIBSECTION dib = {};
        EXPECT_EQ(static_cast<int>(sizeof(dib)), ::GetObjectW(bitmap, sizeof(dib), &dib));
        return dib;
    }

    Testing::TempFolder m_folder;
    static ULONG_PTR s_token;
};

ULONG_PTR CImageTest::s_token = 0;

TEST_F(CImageTest, AlphaImageBecomesA32BitSectionWithStraightAlpha) {
    const std::wstring path = m_folder.WriteFile(L"alpha.png", Testing::MakePng(2, 2, kPixels));
    ATL::CImage image;
    ASSERT_EQ(S_OK, image.Load(path.c_str()));
    ASSERT_FALSE(image.IsNull());
    HBITMAP bitmap = image.Detach();
    EXPECT_TRUE(image.IsNull());

    const DIBSECTION dib = Describe(bitmap);
    EXPECT_EQ(2, dib.dsBm.bmWidth);
    EXPECT_EQ(2, dib.dsBm.bmHeight);
    EXPECT_EQ(32, dib.dsBm.bmBitsPixel);
    EXPECT_GT(dib.dsBmih.biHeight, 0);  // bottom-up
    // Bottom row first in memory.
    const Bgra* bits = static_cast<const Bgra*>(dib.dsBm.bmBits);
    const int order[] = {2, 3, 0, 1};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(testing::Message() << "pixel " << order[i]);
        const Bgra& expected = kPixels[order[i]];
        EXPECT_EQ(0, std::memcmp(&expected, &bits[i], sizeof(Bgra)));
    }
    ::DeleteObject(bitmap);
}

TEST_F(CImageTest, ImageWithoutAlphaBecomes24Bit) {
    const std::wstring path = m_folder.WriteFile(L"plain.bmp", Testing::MakeBmp24(3, 1, {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}}));
    ATL::CImage image;
    ASSERT_EQ(S_OK, image.Load(path.c_str()));
    HBITMAP bitmap = image.Detach();
    const DIBSECTION dib = Describe(bitmap);
    EXPECT_EQ(24, dib.dsBm.bmBitsPixel);
    EXPECT_EQ(0, std::memcmp("\1\2\3\4\5\6\7\10\11", dib.dsBm.bmBits, 9));
    ::DeleteObject(bitmap);
}

TEST_F(CImageTest, TheImageOwnsItsBitmapUntilDetached) {
    const std::wstring path = m_folder.WriteFile(L"alpha.png", Testing::MakePng(2, 2, kPixels));
    HBITMAP owned = nullptr;
    {
        ATL::CImage image;
        ASSERT_EQ(S_OK, image.Load(path.c_str()));
        owned = image.Detach();
        ASSERT_EQ(S_OK, image.Load(path.c_str()));
        image.Destroy();
        EXPECT_TRUE(image.IsNull());
        ASSERT_EQ(S_OK, image.Load(path.c_str()));
    }
    EXPECT_EQ(OBJ_BITMAP, static_cast<int>(::GetObjectType(owned)));
    ::DeleteObject(owned);
}

TEST_F(CImageTest, FailedLoadsLeaveTheImageEmpty) {
    const std::wstring good = m_folder.WriteFile(L"alpha.png", Testing::MakePng(2, 2, kPixels));
    const std::wstring garbage = m_folder.WriteFile(L"garbage.png", "not a picture");
    const std::wstring missing = m_folder / L"missing.png";
    for (const std::wstring& path : {garbage, missing}) {
        SCOPED_TRACE(testing::Message() << path.c_str());
        ATL::CImage image;
        ASSERT_EQ(S_OK, image.Load(good.c_str()));
        EXPECT_TRUE(FAILED(image.Load(path.c_str())));
        EXPECT_TRUE(image.IsNull());
        EXPECT_EQ(nullptr, image.Detach());
    }
    ATL::CImage image;
    EXPECT_TRUE(FAILED(image.Load(nullptr)));
}

}  // namespace
