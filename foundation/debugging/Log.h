#pragma once
// Logging from code:
//
//   DEBUG_LOG(Debugging::LevelWRN, "Language \"" + name + "\" not found");   // UTF-8 text
//   DEBUG_LOG(Debugging::LevelERR, L"Cannot open " + path);                  // wide text
//
// Each line carries the calling function's qualified name and the source line
// as its tag ("ResourceLib:IManager:SetLanguageVerify@15"). A failure to log
// never reaches the caller.
#include "foundation/debugging/LogLevel.h"
#include "foundation/debugging/SourceTag.h"
#include "foundation/debugging/WriteLog.h"
#include "foundation/strings/StringConversions.h"

#include <cwchar>
#include <string>

namespace Debugging {

// Message texts: narrow text is UTF-8; wide text is copied up to its first zero.
inline std::wstring ToLogMessage(const char* text) {
    return STLHelpers::Utf8ToWide(text);
}
inline std::wstring ToLogMessage(const std::string& text) {
    return STLHelpers::Utf8ToWide(text.c_str());
}
inline std::wstring ToLogMessage(const wchar_t* text) {
    return text ? std::wstring(text) : std::wstring();
}
inline std::wstring ToLogMessage(const std::wstring& text) {
    return std::wstring(text.c_str());
}

}  // namespace Debugging

#define DEBUG_LOG(level, message)                                                                          \
    do {                                                                                                   \
        try {                                                                                              \
            static const std::wstring debug_log_tag_ = ::Debugging::MakeSourceTag(__PRETTY_FUNCTION__, __LINE__); \
            ::Debugging::WriteLog(::Debugging::GetLog(), ::Debugging::ToLogMessage(message), debug_log_tag_,  \
                                  (level), 0);                                                             \
        } catch (...) {                                                                                    \
        }                                                                                                  \
    } while (0)
