#include "foundation/debugging/CrashMessages.h"

#include <atomic>
#include <cstdio>

namespace ErrorReport {
namespace {

const wchar_t kSupportToolFailure[] =
    L"Unexpected error has occured in %s. Please send the report file specified below to %s support team.\n'%s'";

int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type) {
    return ::MessageBoxW(owner, text, caption, type);
}

std::atomic<MessageBoxFunction> s_messageBox{&ShowMessageBox};

}  // namespace

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction function) {
    return s_messageBox.exchange(function ? function : &ShowMessageBox);
}

int ShowCrashMessage(HWND owner, const std::wstring& text, const std::wstring& caption) {
    return s_messageBox.load()(owner, text.c_str(), caption.c_str(), MB_ICONERROR);
}

std::wstring FolderFailureText(const std::wstring& folder) {
    return L"Cannot create error information folder!\n" + folder;
}

std::wstring SupportToolFailureText(const std::wstring& format, const std::wstring& productName,
                                    const std::wstring& dumpPath) {
    // msvcrt's wide formatter: "%s" takes wide text.
    wchar_t buffer[1024] = {};
    _snwprintf(buffer, 1023, format.empty() ? kSupportToolFailure : format.c_str(), productName.c_str(),
               productName.c_str(), dumpPath.c_str());
    buffer[1023] = L'\0';
    return buffer;
}

}  // namespace ErrorReport
