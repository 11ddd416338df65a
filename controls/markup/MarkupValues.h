#pragma once
// Reading the values of markup attributes and style declarations: colours,
// lengths, and the keyword sets of alignments, weights and border styles.
// An unreadable value leaves the field at its current value.
#include "controls/markup/MarkupStyle.h"
#include "controls/markup/MarkupTables.h"

#include <windows.h>

#include <string>

namespace MarkupLib {

// What the readers need besides the value: the colour names, and the DC
// whose font and resolution units refer to (the screen's when null).
struct ValueContext {
    const ColorTable& colors;
    HDC dc;
};

// "#rrggbb", a number (0x hexadecimal, leading 0 octal, else decimal) taken
// as a COLORREF, or a colour name; anything else gives `current`.
COLORREF ReadColor(const std::wstring& value, COLORREF current, const ColorTable& colors);

// "n%" of current; a sign is dropped; px, ex, em, in, cm, mm, pt, pc; a bare
// number, which the font-size rule maps 1 to 7 onto 8 to 36 pixels.
int ReadLength(const std::wstring& value, int current, bool fontSizeRule, HDC dc);

// A number with automatic base, as "handle" and bare lengths are written.
unsigned long ReadNumber(const std::wstring& value);

// Keyword readers shared by declarations and attributes.
int ReadTextAlign(const std::wstring& value, int current);
int ReadVerticalAlign(const std::wstring& value, int current);
int ReadFontWeight(const std::wstring& value);
int ReadBorderStyle(const std::wstring& value, int current);
int ReadBorderWidth(const std::wstring& value, int current, HDC dc);

}  // namespace MarkupLib
