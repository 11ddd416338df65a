#include "updater/app/UpdaterTexts.h"

#include "resources/appresources/ResourceManagerHolder.h"

#include <windows.h>

#include <exception>

namespace UpdaterTexts {

namespace {

// The program's string table holds text N as entry 10000 + N, where the
// resource manager looks for it too.
const UINT kBuiltInTextBase = 10000;

std::wstring BuiltInText(int id) {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), kBuiltInTextBase + static_cast<UINT>(id),
                                     reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? std::wstring(text, static_cast<std::size_t>(length)) : std::wstring();
}

}  // namespace

std::wstring Get(int id) {
    try {
        return AppResources::ResourceManagerHolder::GetManager()->GetString(id);
    } catch (const std::exception&) {
        // No manager could be set up; start-up has reported why.
    }
    return BuiltInText(id);
}

}  // namespace UpdaterTexts
