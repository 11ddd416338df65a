// The stand-in library: it shows no dialog; it checks its arguments as the
// library does and writes each call to its call log, one line per call, the
// fields separated by tabs.
#include "commondialogs/CommonDialogs.h"

#include <windows.h>

#include <string>

namespace {

HMODULE g_module = nullptr;

std::string ToUtf8(const std::wstring& text) {
    if (text.empty())
        return std::string();
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string result(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &result[0], size, nullptr,
                          nullptr);
    return result;
}

std::wstring LogPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(CommonDialogs::kCallLogVariable, path, MAX_PATH);
    // Only where a test asks: an installed program's folder is no place for
    // a file that grows with every start.
    return length > 0 && length < MAX_PATH ? std::wstring(path) : std::wstring();
}

class CallLine {
public:
    explicit CallLine(const char* call) : m_line(call) {}
    CallLine& operator<<(const std::wstring& field) {
        m_line += '\t';
        m_line += ToUtf8(field);
        return *this;
    }
    CallLine& operator<<(int number) { return *this << std::to_wstring(number); }
    CallLine& operator<<(bool value) { return *this << std::wstring(value ? L"true" : L"false"); }
    ~CallLine() {
        const std::wstring path = LogPath();
        if (path.empty())
            return;
        m_line += "\r\n";
        HANDLE file = ::CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return;
        DWORD written = 0;
        ::WriteFile(file, m_line.data(), static_cast<DWORD>(m_line.size()), &written, nullptr);
        ::CloseHandle(file);
    }

private:
    std::string m_line;
};

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class StandInLibrary : public CommonDialogs::Library {
public:
    bool Initialize(const std::wstring& resourceFolder, const ApplicationFramework::ProductDescription& product,
                    const std::wstring& firstText, const std::wstring& secondText) override {
        CallLine("Initialize") << resourceFolder << firstText << secondText;
        CallLine("Product") << product.productName << product.fullProductName << product.productVersion
                            << product.shortProductVersion << product.companyName;
        for (const auto& [name, value] : product.values)
            CallLine("ProductValue") << name << value;
        if (m_pHost) {
            CallLine("Host") << m_pHost->GetHostCode() << m_pHost->GetHostSubCode() << m_pHost->GetFullProductName()
                             << m_pHost->GetHostTextA() << m_pHost->GetUpdateAddress() << m_pHost->GetHostTextB();
        }
        const bool result = IsFolder(resourceFolder);
        CallLine("Result") << std::wstring(L"Initialize") << result;
        return result;
    }

    bool SetResourcesLanguage(const std::wstring& name) override {
        const bool result = !name.empty();
        CallLine("SetResourcesLanguage") << name << result;
        return result;
    }

    bool SetResourcesSkin(const std::wstring& name) override {
        const bool result = !name.empty();
        CallLine("SetResourcesSkin") << name << result;
        return result;
    }

    void SetHost(CommonDialogs::IHost* host) override {
        m_pHost = host;
        CallLine("SetHost") << (host != nullptr);
    }

    void Uninitialize() override { CallLine("Uninitialize"); }

private:
    CommonDialogs::IHost* m_pHost = nullptr;
};

}  // namespace

extern "C" __declspec(dllexport) CommonDialogs::Library* DllEntryPoint_DialogsDLL() {
    return new StandInLibrary();
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_module = instance;
    return TRUE;
}
