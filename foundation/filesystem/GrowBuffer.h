#pragma once
// Calls a Windows function that fills a character buffer and answers a
// count, growing the buffer until the text fits.
#include <windows.h>

#include <functional>
#include <string>

namespace FileSystem {

// fill(buffer, size) returns the characters written, or the size it needs,
// or (when it truncates) the buffer's size. True with the text in `result`
// once it fits; false when it needs more than `maximum` characters or does
// not settle within 10 attempts. The thread's last error after each attempt
// goes to `pLastError`; the buffer never starts below `minimumSize`.
bool _GrowBufferCall(const std::function<DWORD(wchar_t* buffer, DWORD size)>& fill, DWORD initialSize,
                     DWORD maximum, std::wstring& result, DWORD* pLastError = nullptr, DWORD minimumSize = 0);

}  // namespace FileSystem
