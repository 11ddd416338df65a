#pragma once
// What a failed run tells the user, in words: the row shows the text as the
// item's result. A status code appears only where the server really sent one.
#include <windows.h>

#include <cstdint>
#include <string>

namespace KavennaEngine {

// A WinInet or Win32 error met while talking to the server.
std::wstring NetworkFailureText(DWORD error);
// The body ended before the announced length.
std::wstring CutShortText(std::uint64_t received, std::uint64_t announced);
// The server went silent in the middle of the body (`announced` 0: unknown).
std::wstring StalledText(std::uint64_t received, std::uint64_t announced);
std::wstring EmptyBodyText();
std::wstring TooManyRedirectsText(int redirects);
std::wstring StatusText(DWORD status);
// Writing a file into `folder` failed with `error` (a full disk among others).
std::wstring WriteFailureText(DWORD error, const std::wstring& folder);
std::wstring FolderFailureText(DWORD error, const std::wstring& folder);
std::wstring FolderTooLongText(const std::wstring& folder);
// The system's own sentence for `error`, without its full stop; empty when it has none.
std::wstring SystemMessage(DWORD error);

}  // namespace KavennaEngine
