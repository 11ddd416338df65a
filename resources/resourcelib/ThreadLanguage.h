#pragma once
// The calling thread's locale and user-interface language, as the module
// resources are read in them.
#include <windows.h>

namespace ResourceLib {

// SetThreadLocale(locale), then SetThreadUILanguage (looked up in kernel32 at
// each call; skipped where the system lacks it) with the locale's primary
// language and a neutral sublanguage (0x0407 gives 0x0007). Locale 0
// changes nothing.
void ApplyThreadLanguage(LCID locale);

}  // namespace ResourceLib
