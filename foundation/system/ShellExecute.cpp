#include "foundation/system/ShellExecute.h"

#include <atomic>

namespace System {

namespace {

BOOL SystemShellExecute(SHELLEXECUTEINFOW* pInfo) {
    return ::ShellExecuteExW(pInfo);
}

std::atomic<ShellExecuteFunction> g_shellExecute{&SystemShellExecute};

}  // namespace

BOOL ShellExecuteCall(SHELLEXECUTEINFOW* pInfo) {
    return g_shellExecute.load()(pInfo);
}

ShellExecuteFunction SetShellExecute(ShellExecuteFunction function) {
    return g_shellExecute.exchange(function ? function : &SystemShellExecute);
}

INT_PTR ShellExecuteInstance(const wchar_t* verb, const wlitestring& file, const wlitestring& parameters,
                             int showCommand) {
    const wlitestring::c_string_holder fileText(file);
    const wlitestring::c_string_holder parameterText(parameters);
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof sei;
    // As ShellExecuteW: no error dialogs, only the instance code.
    sei.fMask = SEE_MASK_FLAG_NO_UI;
    sei.lpVerb = verb;
    sei.lpFile = fileText.c_str();
    sei.lpParameters = parameters.empty() ? nullptr : parameterText.c_str();
    sei.nShow = showCommand;
    if (!ShellExecuteCall(&sei) && reinterpret_cast<INT_PTR>(sei.hInstApp) > 32)
        return SE_ERR_NOASSOC;  // a failure that left no code of its own
    return reinterpret_cast<INT_PTR>(sei.hInstApp);
}

}  // namespace System
