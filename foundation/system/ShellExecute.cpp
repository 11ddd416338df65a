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

}  // namespace System
