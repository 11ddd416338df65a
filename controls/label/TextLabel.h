#pragma once
// The static text of the dialogs and the download list: an owner-drawn
// static with its own font, text colour, solid, gradient or tiled picture
// background, an engraved second copy of the text, rotation, flashing, and a
// link mode that opens a web or mail address when clicked. Every setter
// returns the label so that calls chain; without a window the setters only
// store their values. GUI thread only.
#include "foundation/strings/LiteString.h"
#include "graphics/commongui/SharedGDIObject.h"

#include "afxwin.h"

class CTextLabel : public CStatic {
    DECLARE_DYNAMIC(CTextLabel)
public:
    enum LinkMode { LinkNone = 0, LinkWeb = 1, LinkMail = 2 };
    enum FlashKind { FlashNone = 0, FlashTextKind = 1, FlashBackgroundKind = 2 };
    static const UINT_PTR kFlashTimer = 1;
    static const UINT kFlashMilliseconds = 500;

    CTextLabel();
    ~CTextLabel() override;

    using CWnd::SetFont;

    virtual CTextLabel& SetBkColor(COLORREF color, COLORREF endColor = 0, int gradientMode = 0);
    virtual CTextLabel& SetTextColor(COLORREF color);
    virtual CTextLabel& SetText(const CString& text);
    virtual CTextLabel& SetFontBold(BOOL bold);
    // A face that does not fit the font description (32 characters or more)
    // is refused and the font stays as it was.
    virtual CTextLabel& SetFontName(const CString& face, BYTE charSet = ANSI_CHARSET);
    virtual CTextLabel& SetFontUnderline(BYTE underline);
    virtual CTextLabel& SetFontItalic(BYTE italic);
    // Height = size x 1.6, truncated.
    virtual CTextLabel& SetFontSize(int size);
    virtual CTextLabel& SetSunken(BOOL sunken);
    virtual CTextLabel& SetBorder(BOOL border);
    virtual CTextLabel& SetTransparent(BOOL transparent);
    virtual CTextLabel& FlashText(BOOL flash);
    virtual CTextLabel& FlashBackground(BOOL flash);
    virtual CTextLabel& SetLink(BOOL link, BOOL notifyParent);
    virtual CTextLabel& SetLinkCursor(HCURSOR cursor);
    virtual CTextLabel& SetEngraved(BOOL engraved, BOOL direction);
    virtual CTextLabel& SetRotationAngle(int degrees, BOOL rotated);
    virtual CTextLabel& SetEngraveColor(COLORREF color);
    virtual CTextLabel& SetFont(LOGFONTW font);
    virtual CTextLabel& SetMailLink(BOOL link, BOOL notifyParent);
    virtual CTextLabel& SetLinkTarget(const CString& target);
    virtual CTextLabel& SetBackgroundPicture(const CommonGuiLib::SharedBitmap& picture);
    virtual CTextLabel& SetEndEllipsis(BYTE endEllipsis);

    const LOGFONTW& GetLogFont() const { return m_logFont; }
    HFONT GetLabelFont() const { return static_cast<HFONT>(m_font.GetSafeHandle()); }
    COLORREF GetTextColor() const { return m_textColor; }
    int GetLinkMode() const { return m_linkMode; }
    int GetFlashKind() const { return m_flashKind; }
    BOOL GetFlashPhase() const { return m_flashPhase; }
    BOOL IsFlashTimerRunning() const { return m_flashTimerRunning; }

    void PreSubclassWindow() override;
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnSysColorChange();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    DECLARE_MESSAGE_MAP()

private:
    bool _HasWindow() const { return ::IsWindow(m_hWnd) != FALSE; }
    void _RemakeFont();
    void _RedrawThroughParent();
    void _SetLinkMode(int mode, BOOL notifyParent);
    void _StopFlashTimer();
    void _StartFlashTimer(int kind);
    void _DrawGradient(CDC& dc, const CRect& rect) const;

    COLORREF m_textColor;
    COLORREF m_engraveColor = RGB(255, 255, 255);
    HBRUSH m_systemBackgroundBrush;
    HBRUSH m_backgroundBrush = nullptr;
    LOGFONTW m_logFont = {};
    CFont m_font;
    BOOL m_flashPhase = FALSE;
    BOOL m_flashTimerRunning = FALSE;
    int m_linkMode = LinkNone;
    BOOL m_transparent = FALSE;
    BOOL m_engraved = FALSE;
    BOOL m_notifyParent = FALSE;
    BOOL m_rotated = FALSE;
    int m_flashKind = FlashNone;
    HCURSOR m_linkCursor = nullptr;
    BOOL m_engraveDirection = FALSE;
    int m_gradientMode = 0;
    COLORREF m_gradientEndColor = 0;
    COLORREF m_backgroundColor = 0;
    CString m_linkTarget;
    CommonGuiLib::SharedBitmap m_backgroundPicture;
    DWORD m_subclassStyle = 0;
    BYTE m_endEllipsis = 0;
};

// Sets the text of a dialog item that is a CTextLabel (length -1: up to the
// terminating zero). False, with the failed check reported as an error, for
// a null item or one that is no label.
bool SetLabelItemText(CWnd* pItem, const wlitestring& text);
