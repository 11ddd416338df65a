#pragma once
// Selects GDI objects into a device context and changes its attributes, and
// puts back what was there before when it is destroyed. Only a slot's first
// change saves the previous value, so a value set twice returns to the one
// from before the first change.
#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <cstddef>

namespace CommonGuiLib {

// Keeps a GDI object of any kind alive: a shared bitmap, icon, font or
// region, or a pen or brush made with MakeGdiHold.
typedef boost::shared_ptr<void> SharedGdiHold;

// Takes an object over; DeleteObject when the last hold goes.
SharedGdiHold MakeGdiHold(HGDIOBJ object);

}  // namespace CommonGuiLib

class DCSelector {
public:
    static constexpr std::size_t kObjectSlots = 4;
    static constexpr std::size_t kHolds = 3;

    // Every slot starts on `hdc`, unsaved.
    explicit DCSelector(HDC hdc) noexcept;
    ~DCSelector() { Restore(); }
    DCSelector(const DCSelector&) = delete;
    DCSelector& operator=(const DCSelector&) = delete;

    // Selects `object` into `hdc` through object slot `slot` (0 to 3). An
    // object that must stay alive while selected goes into a hold.
    DCSelector& SelectObject(HDC hdc, std::size_t slot, HGDIOBJ object);
    // Keeps `object` alive until the selector has restored the DC.
    DCSelector& Hold(std::size_t index, CommonGuiLib::SharedGdiHold object);

    DCSelector& SetBkMode(HDC hdc, int mode);
    DCSelector& SetMapMode(HDC hdc, int mode);
    DCSelector& SetPolyFillMode(HDC hdc, int mode);
    DCSelector& SetStretchBltMode(HDC hdc, int mode);
    DCSelector& SetROP2(HDC hdc, int mode);
    DCSelector& SetTextColor(HDC hdc, COLORREF color);
    DCSelector& SetBkColor(HDC hdc, COLORREF color);

    // Puts back the background colour, text colour, raster operation,
    // stretch mode, fill mode, map mode and background mode, then the
    // objects of slots 4 to 1, then lets the holds go (3 to 1). Saved
    // values are forgotten, so restoring twice changes nothing.
    void Restore() noexcept;

private:
    // The modes first, then the colours.
    enum Attribute {
        BkMode,
        MapMode,
        PolyFillMode,
        StretchBltMode,
        ROP2,
        TextColor,
        BkColor,
        AttributeCount
    };

    struct ObjectSlot {
        HDC hdc;
        HGDIOBJ previous;
        bool saved;
    };
    struct AttributeSlot {
        HDC hdc;
        DWORD previous;
        bool saved;
    };

    DCSelector& _Set(Attribute attribute, HDC hdc, DWORD value);

    CommonGuiLib::SharedGdiHold m_holds[kHolds];
    ObjectSlot m_objects[kObjectSlots];
    AttributeSlot m_attributes[AttributeCount];
};
