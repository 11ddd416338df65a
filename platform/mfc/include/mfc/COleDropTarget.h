#pragma once
// OLE drag and drop onto a window. A COleDropTarget registered for a window
// (RegisterDragDrop) answers OLE's IDropTarget calls by calling the window's
// drag operations when it is a view; it is revoked when the window goes or
// the target is destroyed. COleDataObject is the data being dragged, as the
// drag operations see it.
#include "mfc/CCmdTarget.h"

#include <ole2.h>

class CView;
class CWnd;

// A DROPEFFECT_xxx value or combination.
typedef DWORD DROPEFFECT;

class COleDataObject {
public:
    COleDataObject() = default;
    ~COleDataObject() { Release(); }
    COleDataObject(const COleDataObject&) = delete;
    COleDataObject& operator=(const COleDataObject&) = delete;

    // With bAutoRelease the object takes over one reference of the caller's.
    void Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease = TRUE);
    // Hands the pointer (and the reference, if it held one) back.
    LPDATAOBJECT Detach();
    void Release();

    BOOL IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);
    // The medium is the caller's: ReleaseStgMedium frees it.
    BOOL GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc = nullptr);
    // The data as global memory the caller frees with GlobalFree (a copy when
    // the source keeps the original); null when there is none.
    HGLOBAL GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc = nullptr);

    LPDATAOBJECT m_lpDataObject = nullptr;
    BOOL m_bAutoRelease = TRUE;
};

class COleDropTarget : public CCmdTarget {
    DECLARE_DYNAMIC(COleDropTarget)
public:
    COleDropTarget();
    // Revokes a registration that is still there.
    ~COleDropTarget() override;

    // FALSE when OLE refuses (not initialised on the thread, the window
    // registered already).
    BOOL Register(CWnd* pWnd);
    void Revoke();

    // Each calls the window's operation of the same name when it is a view;
    // otherwise nothing is accepted.
    virtual DROPEFFECT OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual DROPEFFECT OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point);
    virtual void OnDragLeave(CWnd* pWnd);
    virtual BOOL OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point);

    // IID_IUnknown and IID_IDropTarget give the target's IDropTarget.
    LPUNKNOWN GetInterface(const void* iid) override;

    HWND m_hWnd = nullptr;  // the registered window

private:
    class DropTarget : public IDropTarget {
    public:
        explicit DropTarget(COleDropTarget& owner) : m_owner(owner) {}
        HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override;
        ULONG STDMETHODCALLTYPE AddRef() override;
        ULONG STDMETHODCALLTYPE Release() override;
        HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                            DWORD* pdwEffect) override;
        HRESULT STDMETHODCALLTYPE DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;
        HRESULT STDMETHODCALLTYPE DragLeave() override;
        HRESULT STDMETHODCALLTYPE Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) override;

    private:
        COleDropTarget& m_owner;
    };

    CWnd* Window() const;
    CPoint ClientPoint(POINTL pt) const;
    void ForgetData();

    DropTarget m_dropTarget;
    // OLE's references; the target's life is the C++ object's, not the count.
    LONG m_references = 0;
    // The data of the drag under way, from DragEnter to DragLeave or Drop.
    LPDATAOBJECT m_lpDataObject = nullptr;
};
