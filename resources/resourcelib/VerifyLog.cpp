#include "resources/resourcelib/VerifyLog.h"

#include "foundation/debugging/Log.h"
#include "foundation/strings/NumberStrings.h"

#include <atomic>

namespace ResourceLib {
namespace detail {

namespace {

// The tag carries the line numbers the messages have always been logged
// under, so the records are written directly rather than through DEBUG_LOG.
void ProgramLogSink(const std::wstring& source, int level, const std::wstring& message) {
    try {
        Debugging::WriteLog(Debugging::GetLog(), message, source, level, 0);
    } catch (...) {
    }
}

std::atomic<VerifyLogSink> s_sink{&ProgramLogSink};

}  // namespace

void LogVerifyMessage(int level, int line, const wchar_t* message) {
    std::wstring number;
    std::wstring source = L"ResourceLib:IManager:SetLanguageVerify@";
    source += STLHelpers::ToWString(number, line);
    s_sink.load()(source, level, message);
}

VerifyLogSink SetVerifyLogSink(VerifyLogSink sink) noexcept {
    return s_sink.exchange(sink ? sink : &ProgramLogSink);
}

}  // namespace detail
}  // namespace ResourceLib
