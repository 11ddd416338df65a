#pragma once
// The text that describes an error code: "Code 5: Access denied." style.
#include "foundation/errors/ErrorCode.h"

#include <cstdint>
#include <string>

namespace ErrorHandling {

// Appends "Code ", the code, ": " and the system's message for it. A wrapped
// Win32 error (0x8007xxxx) is shown as its decimal Win32 number, any other
// failure as 0x-prefixed lowercase hex, success values in decimal.
void FormatErrorCode(ErrorCode code, std::wstring& text);

// Appends the system's message for `code` (user's default language) without
// its trailing line ends and with inserts ("%1") as written; nothing when the
// system has no text.
void AppendSystemMessage(ErrorCode code, std::wstring& text);

// Lowercase hexadecimal digits, no prefix, no leading zeros.
std::wstring ToLowerHex(std::uint32_t value);

}  // namespace ErrorHandling
