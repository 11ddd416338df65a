#include "foundation/system/Locale.h"

namespace System {

std::wstring LangIdToLocaleName(LANGID languageId) {
    switch (languageId & 0x3FF) {
        case LANG_DANISH:
            return L"da-dk";
        case LANG_GERMAN:
            return L"de-de";
        case LANG_FRENCH:
            return L"fr-fr";
        case LANG_JAPANESE:
            return L"ja-jp";
        default:
            return L"en-us";
    }
}

LANGID _GetUILanguageId(const wchar_t* moduleName) {
    typedef LANGID(WINAPI * GetThreadUILanguageFunction)();
    HMODULE module = GetModuleHandleW(moduleName);
    FARPROC function = module ? GetProcAddress(module, "GetThreadUILanguage") : nullptr;
    if (function)
        return reinterpret_cast<GetThreadUILanguageFunction>(function)();
    return LOWORD(GetUserDefaultLCID());
}

std::wstring GetUILanguageName() {
    return LangIdToLocaleName(_GetUILanguageId(L"kernel32.dll"));
}

}  // namespace System
