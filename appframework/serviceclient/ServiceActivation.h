#pragma once
// Activation of the elevation service's classes. Identities and method
// tables come from the service's IDL: CLSID_GarbageCollector with
// IGarbageCollector, CLSID_ConsoleApp with IConsoleApp.
#include "platform/elevation/Vantrel.h"

#include <atlcomcli.h>
#include <comdef.h>
#include <windows.h>

#include <string>

namespace GenericServiceClient {

// In-process server and handler, local and remote server (0x17).
const DWORD kServiceClassContext = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER |
                                   CLSCTX_REMOTE_SERVER;

// CoCreateInstance for IUnknown, OleRun on it, QueryInterface for `iid` into
// *target, and the IUnknown released. *target is null unless every step
// succeeded; the result is the first failing HRESULT, else QueryInterface's.
HRESULT ActivateServiceClass(REFCLSID clsid, REFIID iid, void** target);

template <class Interface>
HRESULT ActivateServiceClass(REFCLSID clsid, Interface** target) {
    return ActivateServiceClass(clsid, __uuidof(Interface), reinterpret_cast<void**>(target));
}

// The BSTR a service method receives: every character of the text.
inline CComBSTR ToServiceBstr(const std::wstring& text) {
    return CComBSTR(static_cast<int>(text.size()), text.c_str());
}

// A failing answer of the service becomes the COM error of its interface.
template <class Interface>
HRESULT RaiseOnServiceFailure(HRESULT hr, Interface* pSource) {
    if (FAILED(hr))
        _com_issue_errorex(hr, pSource, __uuidof(Interface));
    return hr;
}

}  // namespace GenericServiceClient
