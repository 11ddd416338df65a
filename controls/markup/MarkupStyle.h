#pragma once
// The style record every markup tag changes: the current style of the text
// being read, and the copies saved on the style stack.
#include <windows.h>

#include <string>

namespace MarkupLib {

enum BackMode { BackTransparent = TRANSPARENT, BackOpaque = OPAQUE };
enum HorzAlign { AlignLeft = 0, AlignCenter = 1, AlignRight = 2, AlignJustify = 3 };
enum VertAlign { AlignTop = 0, AlignVCenter = 1, AlignBottom = 2, AlignBaseline = 3 };
enum TextTransform { TransformNone = 0, TransformUppercase = 1, TransformLowercase = 2, TransformCapitalize = 3 };
// A background effect of -1 is none; 0 to 15 are the draw manager's.
const int kNoBackEffect = -1;

struct Style {
    std::wstring name;  // style class of the tag that opened it; matches closing tags
    int size = 16;      // font height in pixels
    int weight = 400;
    BOOL italic = 0;
    BOOL underline = 0;
    BOOL strikeout = 0;
    BOOL overline = 0;
    std::wstring face = L"Verdana";
    COLORREF textColor = RGB(0, 0, 0);
    COLORREF backColor = RGB(255, 255, 255);
    COLORREF borderLightColor = RGB(0, 0, 0);
    COLORREF borderDarkColor = RGB(0, 0, 0);
    COLORREF backMidColor = RGB(255, 255, 255);
    COLORREF backEndColor = RGB(255, 255, 255);
    int backMode = BackTransparent;
    int backEffect = kNoBackEffect;
    std::wstring backImage;  // a table's "background" attribute
    int horzAlign = AlignLeft;
    int vertAlign = AlignBaseline;
    int borderStyle = 0;  // the draw manager's border styles
    int borderWidth = 0;
    int width = 0;
    int height = 0;
    int textTransform = TransformNone;
    int margin = 2;   // inner spacing of a table's cells
    int padding = 0;  // spacing between a table's cells
    std::wstring linkTarget;
};

}  // namespace MarkupLib
