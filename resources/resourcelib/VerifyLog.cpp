#include "resources/resourcelib/VerifyLog.h"

#include "foundation/strings/NumberStrings.h"

#include <windows.h>

#include <atomic>

namespace ResourceLib {
namespace detail {

namespace {

// Until the program log is at hand the records go to the debugger.
void DebugTraceSink(const std::wstring& source, int level, const std::wstring& message) {
    std::wstring line = source;
    line += L" ";
    line += message;
    line += L"\n";
    ::OutputDebugStringW(line.c_str());
}

std::atomic<VerifyLogSink> s_sink{&DebugTraceSink};

}  // namespace

void LogVerifyMessage(int level, int line, const wchar_t* message) {
    std::wstring number;
    std::wstring source = L"ResourceLib:IManager:SetLanguageVerify@";
    source += STLHelpers::ToWString(number, line);
    s_sink.load()(source, level, message);
}

VerifyLogSink SetVerifyLogSink(VerifyLogSink sink) noexcept {
    return s_sink.exchange(sink ? sink : &DebugTraceSink);
}

}  // namespace detail
}  // namespace ResourceLib
