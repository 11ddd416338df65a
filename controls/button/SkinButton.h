#pragma once
// The flat owner-drawn push button of the download list's rows and toolbar
// strip: a picture per state with a transparent colour, an optional caption,
// a background colour per state, a hover border and a plain or balloon
// tooltip. It draws off-screen and copies the result in one step.
//
// The pictures handed to SetImages are shared with the resource cache and
// other buttons: the button works on copies of its own and never changes
// them. GUI thread only.
#include "graphics/commongui/SharedGDIObject.h"

#include "afxcmn.h"
#include "afxwin.h"

class CSkinButton : public CButton {
    DECLARE_DYNAMIC(CSkinButton)
public:
    // Colour slots of SetColor.
    enum ColorSlot : BYTE {
        ColorBackgroundHot = 0,    // hot or pressed
        ColorCaptionHot = 1,
        ColorBackgroundNormal = 2,
        ColorCaptionNormal = 3,
        ColorBackgroundFocus = 4,
        ColorCaptionFocus = 5,
        ColorSlotCount = 6,
    };
    // Picture records by state.
    enum PictureIndex { PictureHot = 0, PictureNormal = 1, PicturePressed = 2, PictureDisabled = 3, PictureCount = 4 };
    // Results of SetImages.
    enum ImagesResult { ImagesOk = 0, ImagesNoSize = 1, ImagesNoMask = 2 };
    static const int kTooltipId = 1;
    static const int kTooltipMaxWidth = 400;

    CSkinButton();
    ~CSkinButton() override;

    // An empty hot picture drops every picture. 1 when a picture's size
    // cannot be read, 2 when its mask cannot be made; no picture is kept then.
    int SetImages(const CommonGuiLib::SharedBitmap& hot, COLORREF hotTransparent,
                  const CommonGuiLib::SharedBitmap& normal = CommonGuiLib::SharedBitmap(), COLORREF normalTransparent = 0,
                  const CommonGuiLib::SharedBitmap& pressed = CommonGuiLib::SharedBitmap(), COLORREF pressedTransparent = 0,
                  const CommonGuiLib::SharedBitmap& disabled = CommonGuiLib::SharedBitmap(),
                  COLORREF disabledTransparent = 0);
    // 3, with nothing changed, for a slot of 6 or more.
    int SetColor(BYTE index, COLORREF color, BOOL repaint = TRUE);
    int SetDrawBorder(BOOL draw = TRUE, BOOL repaint = TRUE);
    // Only a tooltip created afterwards is a balloon: call before the first text.
    int EnableBalloonTooltip();
    // The one tool (id 1) over the button; a null text does nothing.
    void SetTooltipText(LPCWSTR text, BOOL activate = TRUE);

    COLORREF GetColor(BYTE index) const { return index < ColorSlotCount ? m_colors[index] : 0; }
    BOOL IsHot() const { return m_hot; }
    BOOL IsDefault() const { return m_default; }
    BOOL IsCheckBox() const { return m_checkBox; }
    BOOL GetDrawBorder() const { return m_drawBorder; }
    BOOL HasPicture(int index) const;
    DWORD GetTooltipStyle() const { return m_tooltipStyle; }
    // Not created until the first tooltip text or pre-translated message.
    CToolTipCtrl& GetToolTip() { return m_tooltip; }

    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

    virtual void DrawBackground(CDC* pDC, CRect* pRect);
    virtual void DrawBorder(CDC* pDC, CRect* pRect);
    // The class keeps no icon, so DrawItem never calls it.
    virtual void DrawIcon(CDC* pDC, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed, BOOL disabled);
    virtual void DrawPicture(CDC* pDC, BOOL hasCaption, const CRect& item, CRect& caption, BOOL pressed,
                             BOOL disabled);
    virtual void DrawCaption(CDC* pDC, const CString& text, const CRect& item, CRect& caption, BOOL pressed,
                             BOOL disabled);

protected:
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnSysColorChange();
    afx_msg BOOL OnClicked();
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg void OnCancelMode();
    afx_msg UINT OnGetDlgCode();
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnMouseLeaveMessage(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    struct Picture {
        CommonGuiLib::SharedBitmap bitmap;  // the button's own copy, transparent pixels black
        int width = 0;
        int height = 0;
        CommonGuiLib::SharedBitmap mask;    // monochrome, transparent pixels set
        COLORREF transparent = 0;
    };

    static int _PreparePicture(const CommonGuiLib::SharedBitmap& source, COLORREF transparent, Picture& picture);
    void _DropPictures();
    int _ChoosePicture(BOOL pressed, BOOL disabled) const;
    void _LeaveHot();
    void _Repaint();
    void _CreateTooltip();
    bool _IsPushButton() const { return !m_checkBox; }

    BOOL m_showDisabledPicture = TRUE;
    int m_imageMargin = 3;
    POINT m_pressedOffset = {1, 1};
    BOOL m_flat = TRUE;
    BOOL m_hot = FALSE;
    BOOL m_drawnPressed = FALSE;
    BOOL m_drawnFocused = FALSE;
    BOOL m_drawnDisabled = FALSE;
    BOOL m_default = FALSE;
    BOOL m_checkBox = FALSE;
    BOOL m_drawBorder = TRUE;
    COLORREF m_colors[ColorSlotCount];
    COLORREF m_disabledCaptionColor;
    CToolTipCtrl m_tooltip;
    DWORD m_tooltipStyle = 0;
    int m_check = 0;
    Picture m_pictures[PictureCount];
};
