#include "skin/commongui/DCSelector.h"

#include <utility>

namespace CommonGuiLib {

SharedGdiHold MakeGdiHold(HGDIOBJ object) {
    return SharedGdiHold(object, [](HGDIOBJ held) {
        if (held)
            ::DeleteObject(held);
    });
}

}  // namespace CommonGuiLib

DCSelector::DCSelector(HDC hdc) noexcept {
    for (ObjectSlot& slot : m_objects)
        slot = {hdc, nullptr, false};
    for (AttributeSlot& slot : m_attributes)
        slot = {hdc, 0, false};
}

DCSelector& DCSelector::SelectObject(HDC hdc, std::size_t slot, HGDIOBJ object) {
    if (slot >= kObjectSlots || !object)
        return *this;
    HGDIOBJ previous = ::SelectObject(hdc, object);
    ObjectSlot& saved = m_objects[slot];
    // A failed selection has nothing to put back.
    if (!saved.saved && previous && previous != HGDI_ERROR)
        saved = {hdc, previous, true};
    return *this;
}

DCSelector& DCSelector::Hold(std::size_t index, CommonGuiLib::SharedGdiHold object) {
    if (index < kHolds)
        m_holds[index] = std::move(object);
    return *this;
}

namespace {

// The setters of the attribute slots, in the slots' order.
typedef int(WINAPI* ModeSetter)(HDC, int);
typedef COLORREF(WINAPI* ColorSetter)(HDC, COLORREF);
const ModeSetter kModeSetters[] = {&::SetBkMode, &::SetMapMode, &::SetPolyFillMode, &::SetStretchBltMode, &::SetROP2};
const ColorSetter kColorSetters[] = {&::SetTextColor, &::SetBkColor};
constexpr int kModeCount = sizeof(kModeSetters) / sizeof(kModeSetters[0]);

}  // namespace

DCSelector& DCSelector::_Set(Attribute attribute, HDC hdc, DWORD value) {
    DWORD previous;
    bool changed;
    if (attribute < kModeCount) {
        const int mode = kModeSetters[attribute](hdc, static_cast<int>(value));
        previous = static_cast<DWORD>(mode);
        changed = mode != 0;
    } else {
        previous = kColorSetters[attribute - kModeCount](hdc, value);
        changed = previous != CLR_INVALID;
    }
    AttributeSlot& slot = m_attributes[attribute];
    if (changed && !slot.saved)
        slot = {hdc, previous, true};
    return *this;
}

DCSelector& DCSelector::SetBkMode(HDC hdc, int mode) { return _Set(BkMode, hdc, static_cast<DWORD>(mode)); }
DCSelector& DCSelector::SetMapMode(HDC hdc, int mode) { return _Set(MapMode, hdc, static_cast<DWORD>(mode)); }
DCSelector& DCSelector::SetPolyFillMode(HDC hdc, int mode) { return _Set(PolyFillMode, hdc, static_cast<DWORD>(mode)); }
DCSelector& DCSelector::SetStretchBltMode(HDC hdc, int mode) {
    return _Set(StretchBltMode, hdc, static_cast<DWORD>(mode));
}
DCSelector& DCSelector::SetROP2(HDC hdc, int mode) { return _Set(ROP2, hdc, static_cast<DWORD>(mode)); }
DCSelector& DCSelector::SetTextColor(HDC hdc, COLORREF color) { return _Set(TextColor, hdc, color); }
DCSelector& DCSelector::SetBkColor(HDC hdc, COLORREF color) { return _Set(BkColor, hdc, color); }

void DCSelector::Restore() noexcept {
    // Background colour first, background mode last: the reverse of the
    // order in which the slots are declared.
    for (int attribute = AttributeCount; attribute-- > 0;) {
        AttributeSlot& slot = m_attributes[attribute];
        if (!slot.saved)
            continue;
        if (attribute < kModeCount)
            kModeSetters[attribute](slot.hdc, static_cast<int>(slot.previous));
        else
            kColorSetters[attribute - kModeCount](slot.hdc, slot.previous);
        slot.saved = false;
    }
    for (std::size_t i = kObjectSlots; i-- > 0;) {
        ObjectSlot& object = m_objects[i];
        if (object.saved)
            ::SelectObject(object.hdc, object.previous);
        object.saved = false;
    }
    for (std::size_t i = kHolds; i-- > 0;)
        m_holds[i].reset();
}
