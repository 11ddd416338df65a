#pragma once
// The attributes of the markup's element tags: tables and cells, images
// ("bmp", "icon", "ilst") and strings. Read here, laid out by the drawer.
#include "controls/markup/MarkupStyle.h"
#include "controls/markup/MarkupTokenizer.h"
#include "controls/markup/MarkupValues.h"

#include <windows.h>

#include <string>

namespace MarkupLib {

struct CellSpan {
    int rows = 1;
    int columns = 1;
};

// Reads the attributes of a "table" (isTable) or a "td" into the style the
// table or cell starts with, then settles the border: no style or no width
// clears both, a style other than solid is 1 pixel wide, and so is a cell's
// border at most.
CellSpan ReadTableAttributes(const AttributeList& attributes, Style& style, bool isTable, const ValueContext& context);

// A table's "background": a bitmap resource of the program ("idres:12") or a
// bitmap file ("file:name.bmp"), blanks allowed around the colon.
struct ImageReference {
    enum Kind { None, Resource, File };
    Kind kind = None;
    int resourceId = 0;
    std::wstring file;
};
ImageReference ParseImageReference(const std::wstring& text);

struct ImageAttributes {
    int index = 0;
    int resourceId = 0;     // "idres"
    int dllResourceId = 0;  // "iddll", loaded from "srcdll" only
    UINT_PTR handle = 0;
    std::wstring file;
    std::wstring sourceDll;
    bool hasMask = false;
    COLORREF maskColor = 0;
    std::wstring style;     // effect letters of the normal and the hot state
    bool hasHotStyle = false;
    std::wstring hotStyle;  // effect letters of the hot state only
    int cellWidth = 0;
    int cellHeight = 0;
    // 0 is the image's own size; a percentage is of that size.
    int width = 0;
    bool widthPercent = false;
    int height = 0;
    bool heightPercent = false;
    int speed = 0;
};
ImageAttributes ReadImageAttributes(const AttributeList& attributes, const ValueContext& context);

// The draw manager's image effects of style letters: g grayscale, d darker,
// l lighter, s the given shadow effect (0 when there is no shadow offset).
DWORD ImageEffectsFromLetters(const std::wstring& letters, DWORD shadowEffect);

struct StringAttributes {
    int resourceId = 0;  // "idres" or "iddll"; 0 shows nothing
    std::wstring sourceDll;
};
StringAttributes ReadStringAttributes(const AttributeList& attributes, const ValueContext& context);

}  // namespace MarkupLib
