#include "toolkit/CommandBarRecords.h"

namespace Toolkit {

bool IsVerticalBar(int kind) { return kind == BarPopup || kind == BarTitledPopup || kind == BarVertical; }

bool IsPopupBar(int kind) { return kind == BarPopup || kind == BarTitledPopup; }

Control::Control(Bar* parent, int kind, UINT id) : m_parent(parent), m_kind(kind), m_id(id) {}

void Control::SetCaption(LPCWSTR caption) {
    const CString text = caption ? caption : L"";
    if (text == m_caption)
        return;
    m_caption = text;
    if (m_parent)
        m_parent->OnControlChanged(*this, TRUE);
}

void Control::SetTooltip(LPCWSTR tooltip) {
    const CString text = tooltip ? tooltip : L"";
    if (text == m_tooltip)
        return;
    m_tooltip = text;
    if (m_parent)
        m_parent->OnControlChanged(*this, FALSE);
}

void Control::SetShortcut(LPCWSTR shortcut) {
    const CString text = shortcut ? shortcut : L"";
    if (text == m_shortcut)
        return;
    m_shortcut = text;
    if (m_parent)
        m_parent->OnControlChanged(*this, TRUE);
}

void Control::SetVisible(BOOL visible) {
    visible = visible ? TRUE : FALSE;
    if (visible == m_visible)
        return;
    m_visible = visible;
    if (!visible) {
        m_hot = FALSE;
        m_pressed = FALSE;
        m_rect.SetRectEmpty();
    }
    if (m_parent)
        m_parent->OnControlChanged(*this, TRUE);
}

void Control::SetEnabled(BOOL enabled) {
    enabled = enabled ? TRUE : FALSE;
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    if (m_parent)
        m_parent->OnControlChanged(*this, FALSE);
}

void Control::SetChecked(int checkState) {
    if (checkState == m_checked)
        return;
    m_checked = checkState;
    if (m_parent)
        m_parent->OnControlChanged(*this, FALSE);
}

Bar::Bar(int kind) : m_kind(kind) {}

Bar::~Bar() = default;

HFONT Bar::GetFont() const { return m_font ? m_font : static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)); }

void Bar::SetImages(HIMAGELIST images) {
    m_images = images;
    int cx = 0, cy = 0;
    if (images && ImageList_GetIconSize(images, &cx, &cy))
        m_imageSize = CSize(cx, cy);
    else
        m_imageSize = CSize(0, 0);
}

Control* Bar::AddControl(int kind, UINT id) {
    m_controls.push_back(std::make_unique<Control>(this, kind, id));
    return m_controls.back().get();
}

Control* Bar::GetControl(int index) const {
    if (index < 0 || index >= GetControlCount())
        return nullptr;
    return m_controls[static_cast<size_t>(index)].get();
}

Control* Bar::FindControl(UINT id) const {
    for (const auto& control : m_controls) {
        if (control->GetId() == id)
            return control.get();
    }
    return nullptr;
}

void Bar::RemoveAllControls() { m_controls.clear(); }

}  // namespace Toolkit
