#pragma once
// What a theme sees of the command bars: a bar (its kind, size, font,
// pictures, title and controls) and a control (its kind, command id, texts,
// state and place). The toolbar window is one of these bars; tests and
// themes may also build bars that have no window.
#include "afxwin.h"

#include <memory>
#include <vector>

namespace Toolkit {

enum BarKind {
    BarMenu = 0,
    BarToolbar = 1,
    BarPopup = 2,
    BarTitledPopup = 3,  // a popup with a caption strip
    BarPalette = 4,      // a popup of pictures: its drop-downs show no hot fill
    BarVertical = 5,     // a toolbar docked at a side
};

// Bars whose controls run from top to bottom.
bool IsVerticalBar(int kind);
bool IsPopupBar(int kind);

enum ControlKind {
    ControlButton = 0,         // picture only
    ControlCaptionButton = 1,  // picture with its caption below
    ControlPopup = 2,          // opens a drop-down or a submenu
    ControlSeparator = 3,
    ControlLabel = 4,
};

// A control's check state: 2 and 3 count as checked.
enum CheckState {
    CheckNone = 0,
    CheckMixed = 1,
    CheckChecked = 2,
    CheckCheckedMixed = 3,
};

class Bar;

class Control {
public:
    Control(Bar* parent, int kind, UINT id);

    int GetKind() const { return m_kind; }
    UINT GetId() const { return m_id; }

    // Changes that move other controls re-lay out the bar; the rest repaint it.
    const CString& GetCaption() const { return m_caption; }
    void SetCaption(LPCWSTR caption);
    const CString& GetTooltip() const { return m_tooltip; }
    void SetTooltip(LPCWSTR tooltip);
    const CString& GetShortcut() const { return m_shortcut; }
    void SetShortcut(LPCWSTR shortcut);
    BOOL IsVisible() const { return m_visible; }
    void SetVisible(BOOL visible);
    BOOL IsEnabled() const { return m_enabled; }
    void SetEnabled(BOOL enabled);
    int GetChecked() const { return m_checked; }
    void SetChecked(int checkState);
    BOOL IsChecked() const { return m_checked == CheckChecked || m_checked == CheckCheckedMixed; }
    int GetImageIndex() const { return m_image; }
    void SetImageIndex(int image) { m_image = image; }
    // A popup item that opens a submenu.
    BOOL HasSubmenu() const { return m_submenu; }
    void SetSubmenu(BOOL submenu) { m_submenu = submenu; }

    // Mouse state, kept by the bar.
    BOOL IsHot() const { return m_hot; }
    void SetHot(BOOL hot) { m_hot = hot; }
    BOOL IsPressed() const { return m_pressed; }
    void SetPressed(BOOL pressed) { m_pressed = pressed; }

    // Place inside the bar's client area; empty while the control is hidden.
    const CRect& GetRect() const { return m_rect; }
    void SetRect(const CRect& rect) { m_rect = rect; }

    Bar* GetParent() const { return m_parent; }

private:
    Bar* m_parent;
    int m_kind;
    UINT m_id;
    CString m_caption;
    CString m_tooltip;
    CString m_shortcut;
    BOOL m_visible = TRUE;
    BOOL m_enabled = TRUE;
    int m_checked = CheckNone;
    int m_image = -1;
    BOOL m_submenu = FALSE;
    BOOL m_hot = FALSE;
    BOOL m_pressed = FALSE;
    CRect m_rect;
};

// The button at a bar's end that offers what did not fit.
struct ExpandButton {
    CRect rect;
    BOOL hot = FALSE;
    BOOL pressed = FALSE;
    BOOL controlsHidden = FALSE;  // some controls did not fit
};

class Bar {
public:
    explicit Bar(int kind);
    virtual ~Bar();
    Bar(const Bar&) = delete;
    Bar& operator=(const Bar&) = delete;

    int GetKind() const { return m_kind; }
    void SetKind(int kind) { m_kind = kind; }

    // Client size: where the theme draws.
    CSize GetSize() const { return m_size; }
    void SetSize(CSize size) { m_size = size; }

    // The font of captions; DEFAULT_GUI_FONT when none was given. Not owned.
    HFONT GetFont() const;
    void SetFont(HFONT font) { m_font = font; }

    const CString& GetTitle() const { return m_title; }
    void SetTitle(LPCWSTR title) { m_title = title ? title : L""; }

    // What the toolkit's state test of the bar looks at: the bar has the
    // keyboard (a tracking popup, a focused toolbar).
    BOOL IsActive() const { return m_active; }
    void SetActive(BOOL active) { m_active = active; }

    // Pictures of the controls, by image index; not owned.
    HIMAGELIST GetImages() const { return m_images; }
    void SetImages(HIMAGELIST images);
    CSize GetImageSize() const { return m_imageSize; }

    ExpandButton& GetExpandButton() { return m_expand; }
    const ExpandButton& GetExpandButton() const { return m_expand; }

    // Controls in order, hidden ones included.
    Control* AddControl(int kind, UINT id);
    int GetControlCount() const { return static_cast<int>(m_controls.size()); }
    Control* GetControl(int index) const;
    // The first control with the id, or null.
    Control* FindControl(UINT id) const;
    void RemoveAllControls();

    // A control changed: layout when its size or presence may differ.
    virtual void OnControlChanged(Control& control, BOOL layoutChanged) {}

private:
    int m_kind;
    CSize m_size;
    HFONT m_font = nullptr;
    CString m_title;
    BOOL m_active = FALSE;
    HIMAGELIST m_images = nullptr;
    CSize m_imageSize;
    ExpandButton m_expand;
    std::vector<std::unique_ptr<Control>> m_controls;
};

}  // namespace Toolkit
