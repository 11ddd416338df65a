#pragma once
// A data object holding CF_HDROP of some paths, as a drag from the shell
// brings it. It keeps its mediums (and counts their releases) or hands them
// over to the taker, as sources do either way. It lives on the test's stack:
// its reference count only tells leaks.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace Testing {

// Frees one medium's memory when the consumer releases the medium.
class MediumKeeper final : public IUnknown {
public:
    MediumKeeper(HGLOBAL memory, int& released) : m_memory(memory), m_released(released) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown)) {
            *ppv = this;
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_count; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG count = --m_count;
        if (count == 0) {
            ++m_released;
            ::GlobalFree(m_memory);
            delete this;
        }
        return count;
    }

private:
    ULONG m_count = 1;
    HGLOBAL m_memory;
    int& m_released;
};

// A data object holding CF_HDROP of some paths. It keeps its mediums (and
// counts their releases) or hands them over, as sources do either way.
class HDropData : public IDataObject {
public:
    HDropData(const std::vector<std::wstring>& paths, bool keepsMediums) : m_keeps(keepsMediums) {
        for (const std::wstring& path : paths)
            m_list.insert(m_list.end(), path.c_str(), path.c_str() + path.size() + 1);
        m_list.push_back(L'\0');
    }
    int handedOut = 0;
    int released = 0;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDataObject)) {
            *ppv = static_cast<IDataObject*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }
    ULONG References() const { return m_references; }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override {
        if (format->cfFormat != CF_HDROP || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        const size_t listBytes = m_list.size() * sizeof(wchar_t);
        HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + listBytes);
        auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(reinterpret_cast<BYTE*>(header) + sizeof(DROPFILES), m_list.data(), listBytes);
        ::GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = m_keeps ? new MediumKeeper(memory, released) : nullptr;
        ++handedOut;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override {
        return format->cfFormat == CF_HDROP && (format->tymed & TYMED_HGLOBAL) ? S_OK : DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override {
        out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return OLE_E_ADVISENOTSUPPORTED; }

private:
    bool m_keeps;
    ULONG m_references = 1;
    std::vector<wchar_t> m_list;
};

}  // namespace Testing
