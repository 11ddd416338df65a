#include "foundation/errors/FormatErrorCode.h"

#include "foundation/strings/NumberStrings.h"

namespace ErrorHandling {

std::wstring ToLowerHex(std::uint32_t value) {
    static const wchar_t kDigits[] = L"0123456789abcdef";
    wchar_t digits[8];
    wchar_t* end = digits + 8;
    wchar_t* first = end;
    do {
        *--first = kDigits[value & 0xF];
        value >>= 4;
    } while (value);
    return std::wstring(first, end);
}

// Inserts ("%1") are left as written: with no argument list the system would
// otherwise read arguments that do not exist, or fail and give no text.
void AppendSystemMessage(ErrorCode code, std::wstring& text) {
    wchar_t* message = nullptr;
    const DWORD flags = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
    const DWORD length = ::FormatMessageW(flags, nullptr,
                                          static_cast<DWORD>(code.Value()), 0x400,
                                          reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    // Freed on every path, also when appending throws.
    struct LocalBuffer {
        wchar_t* p;
        ~LocalBuffer() {
            if (p)
                ::LocalFree(p);
        }
    } owner{message};
    if (!message)
        return;
    DWORD kept = length;
    while (kept > 0 && (message[kept - 1] == L'\n' || message[kept - 1] == L'\r'))
        --kept;
    text.append(message, kept);
}

void FormatErrorCode(ErrorCode code, std::wstring& text) {
    HRESULT value = code.Value();
    if ((static_cast<DWORD>(value) >> 16) == 0x8007)
        value = HRESULT_CODE(value);
    text += L"Code ";
    if (value < 0) {
        text += L"0x";
        text += ToLowerHex(static_cast<std::uint32_t>(value));
    } else {
        STLHelpers::AppendNumber(text, static_cast<std::uint32_t>(value));
    }
    text += L": ";
    AppendSystemMessage(value, text);
}

}  // namespace ErrorHandling
