#pragma once
// Where IManager::SetLanguageVerify writes its three messages: log records
// tagged "ResourceLib:IManager:SetLanguageVerify@<line>".
#include <string>

namespace ResourceLib {
namespace detail {

// Level as the log counts it (2 INF, 3 WRN); `line` goes into the tag.
void LogVerifyMessage(int level, int line, const wchar_t* message);

// The receiver of those records (the program log); tests put their own in place.
typedef void (*VerifyLogSink)(const std::wstring& source, int level, const std::wstring& message);
// Null restores the default. Returns the previous sink.
VerifyLogSink SetVerifyLogSink(VerifyLogSink sink) noexcept;

}  // namespace detail
}  // namespace ResourceLib
