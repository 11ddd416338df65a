#pragma once
// The user-interface language as a locale name of the languages the program
// ships ("da-dk", "de-de", "fr-fr", "ja-jp"), "en-us" for every other.
#include <windows.h>

#include <string>

namespace System {

// Only the primary language counts: 0x0C0C (French, Canada) gives "fr-fr".
std::wstring LangIdToLocaleName(LANGID languageId);

// GetThreadUILanguage when the system has it (looked up at every call),
// else GetUserDefaultLCID.
std::wstring GetUILanguageName();

// The language id behind GetUILanguageName, with GetThreadUILanguage looked
// up in `moduleName` (a module without it takes the fallback).
LANGID _GetUILanguageId(const wchar_t* moduleName);

}  // namespace System
