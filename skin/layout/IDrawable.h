#pragma once
// The drawables a picture is made of: references to other pictures, icons,
// texts, bitmaps, shapes and placeholders the host surface draws itself.
#include "skin/layout/ICustomizable.h"

#include <windows.h>

#include <string>
#include <vector>

namespace LayoutLib {

// The value of GetKind, fixed by each class.
enum DrawableKind {
    DrawableSpecial = 0,
    DrawablePictureReference = 1,
    DrawableIcon = 2,
    DrawableText = 3,
    DrawableBitmap = 4,
    DrawableShape = 5
};

enum AdjustmentMode { AdjustmentNone = 0, AdjustmentAdjust = 1, AdjustmentSupersampling = 2 };

class IDrawable : public ICustomizable, public INamed {
public:
    virtual ~IDrawable() = default;
    virtual void _ReservedDrawable() {}

    virtual int GetKind() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Inside the picture.
    virtual RECT GetPosition() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetAnchors() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Percent: 0 opaque, 100 invisible.
    virtual int GetTransparency() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetAdjustmentMode() const { InterfaceCore::ThrowPureVirtualCall(); }
    // -1.0 when none was given.
    virtual double GetAdjustmentFactor() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool GetAdjustmentFlag() const { InterfaceCore::ThrowPureVirtualCall(); }
    // Supersampling with a factor above 0 other than 1.
    virtual bool IsSupersampled() const { InterfaceCore::ThrowPureVirtualCall(); }
};

// GetName is the name of the picture it shows.
class IPictureReference : public IDrawable {
public:
    virtual ~IPictureReference() = default;
    virtual void _ReservedPictureReference() {}
};

class ISpecial : public IDrawable {
public:
    virtual ~ISpecial() = default;
    virtual void _ReservedSpecial() {}
};

enum IconStretch { StretchNone = 0, StretchSnap = 1, StretchFree = 2 };

typedef std::vector<SIZE> SizeList;

class IIcon : public IDrawable {
public:
    virtual ~IIcon() = default;
    virtual void _ReservedIcon() {}

    // Copies the sizes, in ascending order of area, into `sizes`; true.
    virtual bool GetSizes(SizeList& sizes) const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetStretch() const { InterfaceCore::ThrowPureVirtualCall(); }
};

class IBitmap : public IDrawable {
public:
    virtual ~IBitmap() = default;
    virtual void _ReservedBitmap() {}

    virtual bool IsTiled() const { InterfaceCore::ThrowPureVirtualCall(); }
    // A picture path or a resource name.
    virtual std::wstring GetPath() const { InterfaceCore::ThrowPureVirtualCall(); }
};

enum HorzAlignment { HorzLeft = 0, HorzCenter = 1, HorzRight = 2 };
enum VertAlignment { VertNotGiven = 0, VertTop = 1, VertCenter = 2, VertBottom = 3 };
enum EllipsisMode { EllipsisNone = 0, EllipsisEnd = 1, EllipsisWord = 2, EllipsisPath = 3 };

class IText : public IDrawable {
public:
    virtual ~IText() = default;
    virtual void _ReservedText() {}

    virtual std::wstring GetText() const { InterfaceCore::ThrowPureVirtualCall(); }
    // A font name, resolved when drawing.
    virtual std::wstring GetFont() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual COLORREF GetColor() const { InterfaceCore::ThrowPureVirtualCall(); }
    // A colour name, resolved when drawing.
    virtual std::wstring GetColorName() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetHorzAlignment() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetVertAlignment() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetEllipsisMode() const { InterfaceCore::ThrowPureVirtualCall(); }
};

enum ShapeKind { ShapeKindRectangle = 0, ShapeKindRoundedRectangle = 1, ShapeKindEllipse = 2 };

class IShape : public IDrawable {
public:
    virtual ~IShape() = default;
    virtual void _ReservedShape() {}

    virtual int GetShapeKind() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual SIZE GetRoundingSize() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool HasBorder() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual COLORREF GetBorderColor() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual std::wstring GetBorderColorName() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual int GetBorderWidth() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual bool HasFill() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual std::wstring GetFillBitmapName() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual COLORREF GetFillColor() const { InterfaceCore::ThrowPureVirtualCall(); }
    virtual std::wstring GetFillColorName() const { InterfaceCore::ThrowPureVirtualCall(); }
};

}  // namespace LayoutLib
