#pragma once
// MFC's image list owner: owns one HIMAGELIST and destroys it unless
// detached (the system image list, for one, is only ever attached).
#include "mfc/CObject.h"

#include <commctrl.h>

class CBitmap;
class CDC;

class CImageList : public CObject {
    DECLARE_DYNAMIC(CImageList)
public:
    CImageList() = default;
    ~CImageList() override { DeleteImageList(); }

    HIMAGELIST m_hImageList = nullptr;
    operator HIMAGELIST() const { return m_hImageList; }
    HIMAGELIST GetSafeHandle() const { return m_hImageList; }

    // The object bound to the handle: a temporary one, deleted at idle time.
    static CImageList* FromHandle(HIMAGELIST hImageList);

    BOOL Create(int cx, int cy, UINT nFlags, int nInitial, int nGrow);
    BOOL Attach(HIMAGELIST hImageList);
    HIMAGELIST Detach();
    BOOL DeleteImageList();

    int GetImageCount() const;
    // Each returns the new image's index, or -1.
    int Add(HICON hIcon);
    int Add(CBitmap* pbmImage, CBitmap* pbmMask);
    int Add(CBitmap* pbmImage, COLORREF crMask);
    BOOL Remove(int nImage);
    int Replace(int nImage, HICON hIcon);
    BOOL Draw(CDC* pDC, int nImage, POINT pt, UINT nStyle);
    HICON ExtractIcon(int nImage);
    COLORREF SetBkColor(COLORREF cr);
    BOOL GetImageInfo(int nImage, IMAGEINFO* pImageInfo) const;
};
