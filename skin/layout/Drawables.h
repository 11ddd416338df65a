#pragma once
// The drawable classes, one per kind; "Shape", "Rectangle" and "Fill" of the
// layout XML all make a ShapeDrawable.
#include "skin/layout/DrawableT.h"

#include <windows.h>

#include <string>

namespace LayoutLib {

class Special : public DrawableT<ISpecial> {
public:
    Special() : DrawableT(DrawableSpecial) {}
};

class PictureReference : public DrawableT<IPictureReference> {
public:
    PictureReference() : DrawableT(DrawablePictureReference) {}
};

class Icon : public DrawableT<IIcon> {
public:
    Icon() : DrawableT(DrawableIcon) {}

    bool GetSizes(SizeList& sizes) const override;
    int GetStretch() const override { return m_stretch; }

    // Keeps sizes positive both ways and unique, in ascending order of area;
    // false when the size was left out.
    bool AddSize(const SIZE& size);
    void SetStretch(int stretch) { m_stretch = stretch; }

private:
    SizeList m_sizes;
    int m_stretch = StretchNone;
};

class Bitmap : public DrawableT<IBitmap> {
public:
    Bitmap() : DrawableT(DrawableBitmap) {}

    bool IsTiled() const override { return m_isTiled; }
    std::wstring GetPath() const override { return m_path; }

    void SetTiled(bool isTiled) { m_isTiled = isTiled; }
    void SetPath(const std::wstring& path) { m_path = path; }

private:
    bool m_isTiled = false;
    std::wstring m_path;
};

class Text : public DrawableT<IText> {
public:
    Text() : DrawableT(DrawableText) {}

    std::wstring GetText() const override { return m_text; }
    std::wstring GetFont() const override { return m_font; }
    COLORREF GetColor() const override { return m_color; }
    std::wstring GetColorName() const override { return m_colorName; }
    int GetHorzAlignment() const override { return m_horzAlignment; }
    int GetVertAlignment() const override { return m_vertAlignment; }
    int GetEllipsisMode() const override { return m_ellipsisMode; }

    void SetText(const std::wstring& text) { m_text = text; }
    void SetFont(const std::wstring& font) { m_font = font; }
    void SetColor(COLORREF color, const std::wstring& colorName) {
        m_color = color;
        m_colorName = colorName;
    }
    void SetAlignment(int horz, int vert, int ellipsisMode) {
        m_horzAlignment = horz;
        m_vertAlignment = vert;
        m_ellipsisMode = ellipsisMode;
    }

private:
    std::wstring m_text;
    std::wstring m_font;
    COLORREF m_color = 0;
    std::wstring m_colorName;
    int m_horzAlignment = HorzLeft;
    int m_vertAlignment = VertNotGiven;
    int m_ellipsisMode = EllipsisNone;
};

class ShapeDrawable : public DrawableT<IShape> {
public:
    ShapeDrawable() : DrawableT(DrawableShape) {}

    int GetShapeKind() const override { return m_shapeKind; }
    SIZE GetRoundingSize() const override { return m_roundingSize; }
    bool HasBorder() const override { return m_hasBorder; }
    COLORREF GetBorderColor() const override { return m_borderColor; }
    std::wstring GetBorderColorName() const override { return m_borderColorName; }
    int GetBorderWidth() const override { return m_borderWidth; }
    bool HasFill() const override { return m_hasFill; }
    std::wstring GetFillBitmapName() const override { return m_fillBitmapName; }
    COLORREF GetFillColor() const override { return m_fillColor; }
    std::wstring GetFillColorName() const override { return m_fillColorName; }

    void SetShapeKind(int kind, const SIZE& roundingSize) {
        m_shapeKind = kind;
        m_roundingSize = roundingSize;
    }
    void SetBorder(bool hasBorder, COLORREF color, const std::wstring& colorName, int width) {
        m_hasBorder = hasBorder;
        m_borderColor = color;
        m_borderColorName = colorName;
        m_borderWidth = width;
    }
    void SetFill(bool hasFill, const std::wstring& bitmapName, COLORREF color, const std::wstring& colorName) {
        m_hasFill = hasFill;
        m_fillBitmapName = bitmapName;
        m_fillColor = color;
        m_fillColorName = colorName;
    }

private:
    int m_shapeKind = ShapeKindRectangle;
    SIZE m_roundingSize = {0, 0};
    bool m_hasBorder = false;
    COLORREF m_borderColor = 0;
    std::wstring m_borderColorName;
    int m_borderWidth = 1;
    bool m_hasFill = false;
    std::wstring m_fillBitmapName;
    COLORREF m_fillColor = 0;
    std::wstring m_fillColorName;
};

}  // namespace LayoutLib
