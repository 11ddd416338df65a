#pragma once
// The fixed tables of the tooltip markup: tags, entities, colour names, the
// default style sheet and the background effect names.
#include <windows.h>

#include <map>
#include <string>

namespace MarkupLib {

// Tag ids; tags of one id share their meaning.
enum TagId {
    TagUnknown = 0,
    TagBold = 1,
    TagItalic = 2,
    TagUnderline = 3,
    TagStrikeout = 4,
    TagFont = 5,
    TagRule = 6,
    TagBreak = 7,
    TagTab = 8,
    TagLeft = 9,
    TagCenter = 10,
    TagRight = 11,
    TagJustify = 12,
    TagBaseline = 13,
    TagTop = 14,
    TagVCenter = 15,
    TagBottom = 16,
    TagBitmap = 17,
    TagIcon = 18,
    TagImageList = 19,
    TagString = 20,
    TagStyleRule = 21,  // body, h1 to h6 and the like: the style sheet rule of their name
    TagSpan = 22,
    TagLink = 23,
};

struct TagInfo {
    int id;
    // Empty for element tags, which change no style.
    std::wstring styleClass;
};

// Ordinal, case-sensitive keys.
typedef std::map<std::wstring, TagInfo> TagTable;
typedef std::map<std::wstring, std::wstring> EntityTable;
typedef std::map<std::wstring, COLORREF> ColorTable;

TagTable MakeTagTable();
EntityTable MakeEntityTable();
// The named colours, then the system colours as GetSysColor gives them now.
ColorTable MakeColorTable();
// The 17 rules installed when no style sheet is given, one a line.
const wchar_t* DefaultStyleSheet();

// A "bgeffect" name's effect number; false for other names.
bool FindEffectName(const std::wstring& name, int& effect);

}  // namespace MarkupLib
