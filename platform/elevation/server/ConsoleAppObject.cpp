#include "ConsoleAppObject.h"

#include "CallLog.h"

namespace Vantrel {

HRESULT ConsoleAppObject::Reserved7() {
    LogCall(L"ConsoleApp.Reserved7", {});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::SetPath(BSTR path) {
    LogCall(L"ConsoleApp.SetPath", {BstrText(path)});
    m_path = BstrText(path);
    return S_OK;
}

HRESULT ConsoleAppObject::Reserved9() {
    LogCall(L"ConsoleApp.Reserved9", {});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::SetParameters(BSTR parameters) {
    LogCall(L"ConsoleApp.SetParameters", {BstrText(parameters)});
    m_parameters = BstrText(parameters);
    return S_OK;
}

HRESULT ConsoleAppObject::GetFlag(VARIANT_BOOL* flag) {
    LogCall(L"ConsoleApp.GetFlag", {});
    if (!flag)
        return E_POINTER;
    *flag = VARIANT_FALSE;
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::GetNumber(LONG* number) {
    LogCall(L"ConsoleApp.GetNumber", {});
    if (!number)
        return E_POINTER;
    *number = 0;
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::Start() {
    LogCall(L"ConsoleApp.Start", {m_path, m_parameters});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::SendValue14(LONG value) {
    LogCall(L"ConsoleApp.SendValue14", {std::to_wstring(value)});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::SendValue15(LONG value) {
    LogCall(L"ConsoleApp.SendValue15", {std::to_wstring(value)});
    return E_NOTIMPL;
}

HRESULT ConsoleAppObject::Signal16() {
    LogCall(L"ConsoleApp.Signal16", {});
    return E_NOTIMPL;
}

}  // namespace Vantrel
