#include "resources/resourcelib/ThreadLanguage.h"

namespace ResourceLib {

void ApplyThreadLanguage(LCID locale) {
    if (locale == 0)
        return;
    ::SetThreadLocale(locale);
    typedef LANGID(WINAPI * SetThreadUILanguageFunction)(LANGID);
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const auto setThreadUILanguage =
        kernel ? reinterpret_cast<SetThreadUILanguageFunction>(::GetProcAddress(kernel, "SetThreadUILanguage"))
               : nullptr;
    if (setThreadUILanguage)
        setThreadUILanguage(static_cast<LANGID>(locale & 0x3FF));
}

}  // namespace ResourceLib
