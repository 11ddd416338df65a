#pragma once
// The common controls (comctl32) as MFC windows. Create registers the
// control's class with InitCommonControlsEx first.
#include "mfc/CWnd.h"

class CProgressCtrl : public CWnd {
    DECLARE_DYNAMIC(CProgressCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange(int& nLower, int& nUpper) const;
    int GetPos() const;
    int SetPos(int nPos);
    int OffsetPos(int nPos);
    int SetStep(int nStep);
    int StepIt();
    // A marquee moving every nInterval milliseconds, or the position bar
    // again; the PBS_MARQUEE style is added and removed to match.
    BOOL SetMarquee(BOOL fMarqueeMode, int nInterval);
    COLORREF SetBarColor(COLORREF clrBar);
    COLORREF SetBkColor(COLORREF clrNew);
};

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    void GetRange(int& nMin, int& nMax) const;
    int GetRangeMin() const;
    int GetRangeMax() const;
    int GetPos() const;
    void SetPos(int nPos);
    void SetTicFreq(int nFreq);
    int SetPageSize(int nSize);
    int SetLineSize(int nSize);
};

class CSpinButtonCtrl : public CWnd {
    DECLARE_DYNAMIC(CSpinButtonCtrl)
public:
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    void SetRange(short nLower, short nUpper);
    void SetRange32(int nLower, int nUpper);
    void GetRange32(int& nLower, int& nUpper) const;
    int SetPos(int nPos);
    int GetPos() const;       // MFC's 16-bit position (high word set on error)
    int SetPos32(int nPos);
    int GetPos32(LPBOOL lpbError = nullptr) const;
    CWnd* SetBuddy(CWnd* pWndBuddy);
    CWnd* GetBuddy() const;
    int SetBase(int nBase);
};

class CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    // A tooltip window owned by the parent (WS_POPUP | TTS_ALWAYSTIP | dwStyle).
    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
    // A tool for the whole window (lpRectTool null) or a rectangle of it, by id.
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void Activate(BOOL bActivate);
    void RelayEvent(LPMSG lpMsg);
    int SetMaxTipWidth(int iWidth);
    int GetToolCount() const;
    void SetDelayTime(DWORD dwDuration, int iTime);
    void Pop();
};
