#include "resources/resourcelib/IManager.h"

#include <windows.h>

namespace ResourceLib {

// The languages the program ships by their primary language; "en-us" for
// every other. GetThreadUILanguage is missing on older systems.
std::wstring GetSystemLanguageName() {
    typedef LANGID(WINAPI * GetThreadUILanguageFunction)();
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    const FARPROC function = kernel ? ::GetProcAddress(kernel, "GetThreadUILanguage") : nullptr;
    const LANGID language = function ? reinterpret_cast<GetThreadUILanguageFunction>(function)()
                                     : LOWORD(::GetUserDefaultLCID());
    switch (PRIMARYLANGID(language)) {
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

}  // namespace ResourceLib
