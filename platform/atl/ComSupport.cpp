// The compiler-COM-support functions that mingw's <comdef.h> and <comutil.h>
// declare but no mingw library defines. _com_issue_error itself is inline in
// <comdef.h> (it throws _com_error through mingw's handler).
#include <comdef.h>

#include <cstring>

void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* source, REFIID iid) {
    // The object's own error description travels with the exception when
    // it says it supports rich errors for that interface.
    IErrorInfo* info = nullptr;
    if (source) {
        ISupportErrorInfo* support = nullptr;
        if (SUCCEEDED(source->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support))) &&
            support) {
            if (support->InterfaceSupportsErrorInfo(iid) == S_OK && GetErrorInfo(0, &info) != S_OK)
                info = nullptr;
            support->Release();
        }
    }
    // _com_error takes over the reference to info; the handler is the one
    // _set_com_error_handler installed (throwing _com_error by default).
    __mingw_com_error_handler(hr, info);
}

namespace _com_util {

BSTR WINAPI ConvertStringToBSTR(const char* text) {
    if (!text)
        return nullptr;
    int length = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0) {
        _com_issue_error(HRESULT_FROM_WIN32(GetLastError()));
        return nullptr;
    }
    BSTR result = SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (!result) {
        _com_issue_error(E_OUTOFMEMORY);
        return nullptr;
    }
    MultiByteToWideChar(CP_ACP, 0, text, -1, result, length);
    return result;
}

char* WINAPI ConvertBSTRToString(BSTR text) {
    if (!text)
        return nullptr;
    int wideLength = static_cast<int>(SysStringLen(text));
    int length = WideCharToMultiByte(CP_ACP, 0, text, wideLength, nullptr, 0, nullptr, nullptr);
    char* result = new char[static_cast<size_t>(length) + 1];
    if (length > 0)
        WideCharToMultiByte(CP_ACP, 0, text, wideLength, result, length, nullptr, nullptr);
    result[length] = '\0';
    return result;
}

}  // namespace _com_util
