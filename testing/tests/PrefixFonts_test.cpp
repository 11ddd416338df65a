// Skins name Wine's own faces; ./test copies them into the test prefix, so
// they must be found there by name rather than replaced by a look-alike.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

std::wstring FaceOfFontNamed(const wchar_t* name) {
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, name);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    DeleteDC(dc);
    DeleteObject(font);
    return face;
}

TEST(PrefixFonts, WinesOwnFacesAreFoundByName) {
    for (const wchar_t* name : {L"Tahoma", L"Marlett"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        EXPECT_EQ(name, FaceOfFontNamed(name));
    }
}

}  // namespace
