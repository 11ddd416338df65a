#pragma once
// The list-view control and its header as MFC windows. Neither adds data to
// CWnd and every member only sends the control its message, so any CWnd on
// the control's handle serves as one (a list view's own object, a temporary
// object of a handle), as MFC has it.
#include "mfc/CImageList.h"
#include "mfc/CWnd.h"

class CEdit;

class CHeaderCtrl : public CWnd {
    DECLARE_DYNAMIC(CHeaderCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    int GetItemCount() const;
    BOOL GetItem(int nPos, HDITEMW* pHeaderItem) const;
    BOOL SetItem(int nPos, HDITEMW* pHeaderItem);
    BOOL GetItemRect(int nIndex, LPRECT lpRect) const;
};

class CListCtrl : public CWnd {
    DECLARE_DYNAMIC(CListCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Columns: each insert returns the new column's index, or -1.
    int InsertColumn(int nCol, const LVCOLUMNW* pColumn);
    int InsertColumn(int nCol, LPCWSTR lpszColumnHeading, int nFormat = LVCFMT_LEFT, int nWidth = -1,
                     int nSubItem = -1);
    BOOL DeleteColumn(int nCol);
    BOOL GetColumn(int nCol, LVCOLUMNW* pColumn) const;
    BOOL SetColumn(int nCol, const LVCOLUMNW* pColumn);
    int GetColumnWidth(int nCol) const;
    BOOL SetColumnWidth(int nCol, int cx);
    CHeaderCtrl* GetHeaderCtrl() const;

    // Items: each insert returns the new item's index, or -1.
    int GetItemCount() const;
    int InsertItem(const LVITEMW* pItem);
    int InsertItem(int nItem, LPCWSTR lpszItem);
    int InsertItem(int nItem, LPCWSTR lpszItem, int nImage);
    int InsertItem(UINT nMask, int nItem, LPCWSTR lpszItem, UINT nState, UINT nStateMask, int nImage, LPARAM lParam);
    BOOL DeleteItem(int nItem);
    BOOL DeleteAllItems();
    // Every field that pItem->mask names (LVIF_TEXT needs pszText and cchTextMax).
    BOOL GetItem(LVITEMW* pItem) const;
    BOOL SetItem(const LVITEMW* pItem);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCWSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam);
    BOOL SetItem(int nItem, int nSubItem, UINT nMask, LPCWSTR lpszItem, int nImage, UINT nState, UINT nStateMask,
                 LPARAM lParam, int nIndent);
    // The text of an item (nSubItem 0) or of one of its columns.
    CString GetItemText(int nItem, int nSubItem) const;
    int GetItemText(int nItem, int nSubItem, LPWSTR lpszText, int nLen) const;
    BOOL SetItemText(int nItem, int nSubItem, LPCWSTR lpszText);
    DWORD_PTR GetItemData(int nItem) const;
    BOOL SetItemData(int nItem, DWORD_PTR dwData);
    UINT GetItemState(int nItem, UINT nMask) const;
    BOOL SetItemState(int nItem, UINT nState, UINT nMask);

    // Selection and searching.
    int GetNextItem(int nItem, int nFlags) const;
    UINT GetSelectedCount() const;
    POSITION GetFirstSelectedItemPosition() const;
    int GetNextSelectedItem(POSITION& pos) const;

    // Geometry: rectangles in the control's client coordinates.
    int HitTest(LVHITTESTINFO* pHitTestInfo) const;
    int HitTest(CPoint pt, UINT* pFlags = nullptr) const;
    // Fills iItem and iSubItem of the record; returns the item or -1.
    int SubItemHitTest(LVHITTESTINFO* pInfo);
    BOOL GetItemRect(int nItem, LPRECT lpRect, UINT nCode) const;
    BOOL GetSubItemRect(int iItem, int iSubItem, int nArea, CRect& ref);
    BOOL EnsureVisible(int nItem, BOOL bPartialOK);
    int GetTopIndex() const;
    int GetCountPerPage() const;
    BOOL RedrawItems(int nFirst, int nLast);

    // In-place editing of an item's text; the edit control, or null.
    CEdit* EditLabel(int nItem);
    CEdit* GetEditControl() const;

    // Image lists (LVSIL_NORMAL, LVSIL_SMALL, LVSIL_STATE); the previous
    // one as a temporary object. The list does not take ownership.
    CImageList* SetImageList(CImageList* pImageList, int nImageListType);
    CImageList* GetImageList(int nImageList) const;

    // Colours.
    COLORREF GetBkColor() const;
    BOOL SetBkColor(COLORREF cr);
    COLORREF GetTextColor() const;
    BOOL SetTextColor(COLORREF cr);
    COLORREF GetTextBkColor() const;
    BOOL SetTextBkColor(COLORREF cr);

    DWORD GetExtendedStyle() const;
    DWORD SetExtendedStyle(DWORD dwNewStyle);
};
