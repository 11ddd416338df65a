// The support tool's stand-in: notes how it was started and exits at once,
// showing nothing. The record goes to the file named by
// "VezozazIzeviz_RecordPath", or to "VezozazIzeviz.txt" beside the tool.
//
// Record (UTF-8, one "name=value" per line):
//   CommandLine=<the arguments after the program name>
//   VerboseCrashHandling=<value or empty>
//   ProductName=<value or empty>
//   ProductNameShort=<value or empty>
#include <windows.h>

#include <string>

namespace {

std::wstring Variable(const wchar_t* name) {
    wchar_t buffer[4096];
    DWORD n = GetEnvironmentVariableW(name, buffer, 4096);
    return n > 0 && n < 4096 ? std::wstring(buffer, n) : std::wstring();
}

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &result[0], n, nullptr, nullptr);
    return result;
}

std::wstring RecordPath() {
    std::wstring path = Variable(L"VezozazIzeviz_RecordPath");
    if (!path.empty())
        return path;
    wchar_t module[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, module, MAX_PATH);
    path = module;
    return path.substr(0, path.rfind(L'\\') + 1) + L"VezozazIzeviz.txt";
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR arguments, int) {
    std::wstring record = L"CommandLine=" + std::wstring(arguments ? arguments : L"") + L"\r\n";
    for (const wchar_t* name : {L"VerboseCrashHandling", L"ProductName", L"ProductNameShort"})
        record += std::wstring(name) + L"=" + Variable(name) + L"\r\n";

    HANDLE file = CreateFileW(RecordPath().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::string bytes = ToUtf8(record);
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size() ? 0 : 1;
}
