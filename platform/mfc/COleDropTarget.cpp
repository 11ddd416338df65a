// OLE drag and drop onto a window: the drop target and the data object
// that the drag operations receive.
#include "AfxState.h"

#include <cstring>

IMPLEMENT_DYNAMIC(COleDropTarget, CCmdTarget)

// The data object.

void COleDataObject::Attach(LPDATAOBJECT lpDataObject, BOOL bAutoRelease) {
    Release();
    m_lpDataObject = lpDataObject;
    m_bAutoRelease = bAutoRelease;
}

LPDATAOBJECT COleDataObject::Detach() {
    LPDATAOBJECT dataObject = m_lpDataObject;
    m_lpDataObject = nullptr;
    return dataObject;
}

void COleDataObject::Release() {
    if (m_lpDataObject && m_bAutoRelease)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

namespace {

FORMATETC MakeFormat(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc, DWORD tymed) {
    if (lpFormatEtc) {
        FORMATETC format = *lpFormatEtc;
        format.cfFormat = cfFormat;
        return format;
    }
    return FORMATETC{cfFormat, nullptr, DVASPECT_CONTENT, -1, tymed};
}

// A copy of global memory that the caller owns; null when memory is short.
HGLOBAL CopyGlobal(HGLOBAL source) {
    const SIZE_T size = GlobalSize(source);
    const void* from = GlobalLock(source);
    if (!from)
        return nullptr;
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size ? size : 1);
    void* to = copy ? GlobalLock(copy) : nullptr;
    if (to) {
        memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(source);
    return copy;
}

}  // namespace

BOOL COleDataObject::IsDataAvailable(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject)
        return FALSE;
    FORMATETC format = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_FILE);
    return m_lpDataObject->QueryGetData(&format) == S_OK;
}

BOOL COleDataObject::GetData(CLIPFORMAT cfFormat, LPSTGMEDIUM lpStgMedium, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject || !lpStgMedium)
        return FALSE;
    FORMATETC format = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL | TYMED_ISTREAM | TYMED_FILE);
    *lpStgMedium = STGMEDIUM{};
    return SUCCEEDED(m_lpDataObject->GetData(&format, lpStgMedium));
}

HGLOBAL COleDataObject::GetGlobalData(CLIPFORMAT cfFormat, LPFORMATETC lpFormatEtc) {
    if (!m_lpDataObject)
        return nullptr;
    FORMATETC format = MakeFormat(cfFormat, lpFormatEtc, TYMED_HGLOBAL);
    format.tymed = TYMED_HGLOBAL;
    STGMEDIUM medium = {};
    if (FAILED(m_lpDataObject->GetData(&format, &medium)))
        return nullptr;
    if (medium.tymed != TYMED_HGLOBAL || !medium.hGlobal) {
        ReleaseStgMedium(&medium);
        return nullptr;
    }
    if (!medium.pUnkForRelease)
        return medium.hGlobal;  // handed over: the caller frees it
    // The source keeps its memory: the caller gets a copy, the medium goes back.
    HGLOBAL copy = CopyGlobal(medium.hGlobal);
    ReleaseStgMedium(&medium);
    return copy;
}

// The drop target.

COleDropTarget::COleDropTarget() : m_dropTarget(*this) {}

COleDropTarget::~COleDropTarget() {
    Revoke();
    ForgetData();
}

BOOL COleDropTarget::Register(CWnd* pWnd) {
    if (!pWnd || !pWnd->m_hWnd || m_hWnd)
        return FALSE;
    // OLE keeps the target alive for as long as it is registered.
    if (CoLockObjectExternal(&m_dropTarget, TRUE, FALSE) != S_OK)
        return FALSE;
    if (RegisterDragDrop(pWnd->m_hWnd, &m_dropTarget) != S_OK) {
        CoLockObjectExternal(&m_dropTarget, FALSE, TRUE);
        return FALSE;
    }
    m_hWnd = pWnd->m_hWnd;
    pWnd->m_pDropTarget = this;
    return TRUE;
}

void COleDropTarget::Revoke() {
    if (!m_hWnd)
        return;
    if (CWnd* window = CWnd::FromHandlePermanent(m_hWnd)) {
        if (window->m_pDropTarget == this)
            window->m_pDropTarget = nullptr;
    }
    RevokeDragDrop(m_hWnd);
    CoLockObjectExternal(&m_dropTarget, FALSE, TRUE);
    m_hWnd = nullptr;
}

LPUNKNOWN COleDropTarget::GetInterface(const void* iid) {
    const IID& wanted = *static_cast<const IID*>(iid);
    if (IsEqualIID(wanted, IID_IUnknown) || IsEqualIID(wanted, IID_IDropTarget))
        return &m_dropTarget;
    return nullptr;
}

CWnd* COleDropTarget::Window() const { return m_hWnd ? CWnd::FromHandlePermanent(m_hWnd) : nullptr; }

CPoint COleDropTarget::ClientPoint(POINTL pt) const {
    POINT point = {pt.x, pt.y};
    if (m_hWnd)
        ::ScreenToClient(m_hWnd, &point);
    return CPoint(point);
}

void COleDropTarget::ForgetData() {
    if (m_lpDataObject)
        m_lpDataObject->Release();
    m_lpDataObject = nullptr;
}

DROPEFFECT COleDropTarget::OnDragEnter(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView* view = dynamic_cast<CView*>(pWnd);
    return view ? view->OnDragEnter(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

DROPEFFECT COleDropTarget::OnDragOver(CWnd* pWnd, COleDataObject* pDataObject, DWORD dwKeyState, CPoint point) {
    CView* view = dynamic_cast<CView*>(pWnd);
    return view ? view->OnDragOver(pDataObject, dwKeyState, point) : DROPEFFECT_NONE;
}

void COleDropTarget::OnDragLeave(CWnd* pWnd) {
    if (CView* view = dynamic_cast<CView*>(pWnd))
        view->OnDragLeave();
}

BOOL COleDropTarget::OnDrop(CWnd* pWnd, COleDataObject* pDataObject, DROPEFFECT dropEffect, CPoint point) {
    CView* view = dynamic_cast<CView*>(pWnd);
    return view && view->OnDrop(pDataObject, dropEffect, point);
}

namespace {

// The effect a target chose, when the source allows it; else none.
DWORD AllowedEffect(DROPEFFECT chosen, DWORD allowed) {
    const DWORD scroll = chosen & DROPEFFECT_SCROLL;
    const DWORD effect = chosen & ~DROPEFFECT_SCROLL;
    return ((effect & allowed) == effect ? effect : DROPEFFECT_NONE) | scroll;
}

}  // namespace

HRESULT STDMETHODCALLTYPE COleDropTarget::DropTarget::QueryInterface(REFIID riid, void** ppv) {
    if (!ppv)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDropTarget)) {
        *ppv = static_cast<IDropTarget*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE COleDropTarget::DropTarget::AddRef() {
    return static_cast<ULONG>(InterlockedIncrement(&m_owner.m_references));
}

ULONG STDMETHODCALLTYPE COleDropTarget::DropTarget::Release() {
    return static_cast<ULONG>(InterlockedDecrement(&m_owner.m_references));
}

HRESULT STDMETHODCALLTYPE COleDropTarget::DropTarget::DragEnter(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                                DWORD* pdwEffect) {
    if (!pdwEffect)
        return E_INVALIDARG;
    // The data stays with the target until the drag leaves or drops.
    if (pDataObj)
        pDataObj->AddRef();
    m_owner.ForgetData();
    m_owner.m_lpDataObject = pDataObj;
    CWnd* window = m_owner.Window();
    if (!window || !pDataObj) {
        *pdwEffect = DROPEFFECT_NONE;
        return S_OK;
    }
    COleDataObject data;
    data.Attach(pDataObj, FALSE);
    *pdwEffect = AllowedEffect(m_owner.OnDragEnter(window, &data, grfKeyState, m_owner.ClientPoint(pt)), *pdwEffect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COleDropTarget::DropTarget::DragOver(DWORD grfKeyState, POINTL pt, DWORD* pdwEffect) {
    if (!pdwEffect)
        return E_INVALIDARG;
    CWnd* window = m_owner.Window();
    if (!window || !m_owner.m_lpDataObject) {
        *pdwEffect = DROPEFFECT_NONE;
        return S_OK;
    }
    COleDataObject data;
    data.Attach(m_owner.m_lpDataObject, FALSE);
    *pdwEffect = AllowedEffect(m_owner.OnDragOver(window, &data, grfKeyState, m_owner.ClientPoint(pt)), *pdwEffect);
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COleDropTarget::DropTarget::DragLeave() {
    if (CWnd* window = m_owner.Window())
        m_owner.OnDragLeave(window);
    m_owner.ForgetData();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE COleDropTarget::DropTarget::Drop(IDataObject* pDataObj, DWORD grfKeyState, POINTL pt,
                                                           DWORD* pdwEffect) {
    if (!pdwEffect)
        return E_INVALIDARG;
    m_owner.ForgetData();
    CWnd* window = m_owner.Window();
    if (!window || !pDataObj) {
        *pdwEffect = DROPEFFECT_NONE;
        return S_OK;
    }
    COleDataObject data;
    data.Attach(pDataObj, FALSE);
    const CPoint point = m_owner.ClientPoint(pt);
    // The effect the target wants at this point decides; the drop runs only
    // with one, and a drop that fails has none.
    DWORD effect = AllowedEffect(m_owner.OnDragOver(window, &data, grfKeyState, point), *pdwEffect);
    effect &= ~DROPEFFECT_SCROLL;
    if (effect != DROPEFFECT_NONE && !m_owner.OnDrop(window, &data, effect, point))
        effect = DROPEFFECT_NONE;
    *pdwEffect = effect;
    return S_OK;
}
