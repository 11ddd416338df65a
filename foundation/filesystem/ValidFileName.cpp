#include "foundation/filesystem/ValidFileName.h"

#include "foundation/strings/TextHelpers.h"

#include <cwchar>
#include <vector>

namespace FileSystem {

namespace {

const wchar_t kReservedNames[] =
    L"AUX CLOCK$ COM1 COM2 COM3 COM4 COM5 COM6 COM7 COM8 COM9 CON LPT1 LPT2 LPT3 LPT4 LPT5 LPT6 LPT7 LPT8 LPT9 NUL PRN";
const wchar_t kInvalidCharacters[] = L"|\\?*<\":>/";
const wchar_t kTrimmed[] = L" .\t\r\n";

}  // namespace

void MakeValidFileName(std::wstring& text, wchar_t replacement) {
    std::vector<std::wstring> reserved;
    STLHelpers::Split(kReservedNames, L" ", reserved, true, true, false);
    for (const std::wstring& name : reserved) {
        if (text.size() < name.size() || _wcsnicmp(text.c_str(), name.c_str(), name.size()) != 0)
            continue;
        if (text.size() == name.size() || text[name.size()] == L'.') {
            text.insert(name.size(), 1, L'~');
            return;
        }
    }
    for (wchar_t& ch : text) {
        if (ch < 32 || std::wcschr(kInvalidCharacters, ch))
            ch = replacement;
    }
    const size_t length = text.size();
    STLHelpers::TrimLeft(text, kTrimmed);
    STLHelpers::TrimRight(text, kTrimmed);
    if (text.empty())
        text.assign(length, replacement);
}

}  // namespace FileSystem
