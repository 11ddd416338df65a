#pragma once
// The standard Windows controls as MFC windows. Owner-drawn buttons, statics
// and combo boxes get WM_DRAWITEM from their parent through reflection and
// draw themselves in DrawItem.
#include "mfc/CWnd.h"

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    UINT GetState() const;
    void SetState(BOOL bHighlight);
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon);
    HBITMAP SetBitmap(HBITMAP hBitmap);

    // Owner-drawn buttons override this; it is called for the parent's WM_DRAWITEM.
    virtual void DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xffff);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;

    // Owner-drawn statics (SS_OWNERDRAW) override this.
    virtual void DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo = FALSE);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    int GetLineCount() const;
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
};

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    // Each returns the item's index, or CB_ERR / CB_ERRSPACE.
    int AddString(LPCWSTR lpszString);
    int InsertString(int nIndex, LPCWSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    // Case-insensitive; FindString and SelectString match the beginning of
    // an item, FindStringExact the whole item. nStartAfter -1 searches all.
    int FindString(int nStartAfter, LPCWSTR lpszString) const;
    int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCWSTR lpszString);
    int GetLBText(int nIndex, LPWSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    BOOL GetDroppedState() const;
    void ShowDropDown(BOOL bShowIt = TRUE);

    virtual void DrawItem(LPDRAWITEMSTRUCT /*lpDrawItemStruct*/) {}
    virtual void MeasureItem(LPMEASUREITEMSTRUCT /*lpMeasureItemStruct*/) {}
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
};

// A scroll bar control; also the type in which scroll handlers receive the
// control that scrolled (a slider, for one), as in MFC.
class CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetScrollPos() const;
    int SetScrollPos(int nPos, BOOL bRedraw = TRUE);
    void GetScrollRange(LPINT lpMinPos, LPINT lpMaxPos) const;
    void SetScrollRange(int nMinPos, int nMaxPos, BOOL bRedraw = TRUE);
};
