#pragma once
// The call log beside the executable ("Vantrel.calls.log"): one line per
// method call, "<process id>\t<method>\t<argument>\t...", UTF-8, so that a
// test can see which process did what.
#include <windows.h>
#include <oleauto.h>

#include <initializer_list>
#include <string>

namespace Vantrel {

void LogCall(const wchar_t* method, std::initializer_list<std::wstring> arguments);

std::wstring GetModulePath();

// A BSTR's characters; a null BSTR is empty.
inline std::wstring BstrText(BSTR text) {
    return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
}

}  // namespace Vantrel
