#include "AfxState.h"

#include <shellapi.h>

#include <cstdlib>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp* g_app = nullptr;

LPWSTR Duplicate(LPCWSTR text) { return text ? _wcsdup(text) : nullptr; }

void Release(LPCWSTR& text) {
    free(const_cast<LPWSTR>(text));
    text = nullptr;
}

// The executable's file name without folder and extension.
std::wstring ExecutableBaseName() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring name(path);
    size_t slash = name.find_last_of(L"\\/");
    if (slash != std::wstring::npos)
        name.erase(0, slash + 1);
    size_t dot = name.rfind(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

class RegistryKey {
public:
    explicit RegistryKey(HKEY key = nullptr) : m_key(key) {}
    ~RegistryKey() {
        if (m_key)
            RegCloseKey(m_key);
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;
    HKEY Get() const { return m_key; }
    HKEY Release() {
        HKEY key = m_key;
        m_key = nullptr;
        return key;
    }

private:
    HKEY m_key;
};

// A value of the section: its type and bytes; false when there is none.
bool QueryValue(HKEY key, LPCWSTR entry, DWORD& type, std::vector<BYTE>& data) {
    DWORD size = 0;
    if (RegQueryValueExW(key, entry, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return false;
    // Room for a missing terminator of a string value.
    data.assign(size + sizeof(wchar_t), 0);
    if (RegQueryValueExW(key, entry, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return false;
    data.resize(size);
    return true;
}

}  // namespace

// Threads.

CWinThread::CWinThread() : m_nThreadID(GetCurrentThreadId()) {}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance() {
    AfxIdleCleanup();
    return static_cast<int>(m_msgCur.wParam);
}

int CWinThread::Run() {
    BOOL bIdle = TRUE;
    LONG lIdleCount = 0;
    for (;;) {
        while (bIdle && !::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(lIdleCount++))
                bIdle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                bIdle = TRUE;
                lIdleCount = 0;
            }
        } while (::PeekMessageW(&m_msgCur, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL CWinThread::PumpMessage() {
    if (!::GetMessageW(&m_msgCur, nullptr, 0, 0))
        return FALSE;
    if (!PreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageW(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg) {
    if (!pMsg->hwnd)
        return FALSE;  // a thread message
    CWnd* main = GetMainWnd();
    HWND hWndMain = main ? main->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hWndMain, pMsg))
        return TRUE;
    // Messages of other top-level windows (modeless dialogs) get a last
    // chance at the main window's keys.
    if (hWndMain) {
        CWnd* pWnd = CWnd::FromHandle(pMsg->hwnd);
        if (pWnd && pWnd->GetTopLevelParent() != main)
            return main->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::OnIdle(LONG lCount) {
    if (lCount <= 0) {
        CWnd* main = m_pMainWnd;
        if (main && main->m_hWnd && main->IsWindowVisible()) {
            AfxLockTempMaps();
            AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
            AfxUnlockTempMaps(FALSE);
        }
        AfxIdleCleanup();
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg) { return AfxIsIdleMessage(pMsg); }

CWnd* CWinThread::GetMainWnd() { return m_pMainWnd; }

// Command line.

void CCommandLineInfo::ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast) {
    if (bFlag) {
        if (_wcsicmp(pszParam, L"Register") == 0 || _wcsicmp(pszParam, L"RegServer") == 0) {
            m_nShellCommand = AppRegister;
        } else if (_wcsicmp(pszParam, L"Unregister") == 0 || _wcsicmp(pszParam, L"UnregServer") == 0) {
            m_nShellCommand = AppUnregister;
        } else if (_wcsicmp(pszParam, L"Embedding") == 0) {
            m_bRunEmbedded = TRUE;
            m_bShowSplash = FALSE;
        } else if (_wcsicmp(pszParam, L"Automation") == 0) {
            m_bRunAutomated = TRUE;
            m_bShowSplash = FALSE;
        }
    } else if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
    }
    if (bLast) {
        if (m_nShellCommand == FileNew && !m_strFileName.IsEmpty())
            m_nShellCommand = FileOpen;
        m_bShowSplash = !m_bRunEmbedded && !m_bRunAutomated;
    }
}

// The application.

CWinApp::CWinApp(LPCWSTR lpszAppName) {
    m_hInstance = GetModuleHandleW(nullptr);
    const std::wstring exeName = ExecutableBaseName();
    m_pszExeName = Duplicate(exeName.c_str());
    if (lpszAppName) {
        m_pszAppName = Duplicate(lpszAppName);
    } else {
        CString title;
        m_pszAppName = Duplicate(title.LoadString(AFX_IDS_APP_TITLE) ? title.GetString() : exeName.c_str());
    }
    g_app = this;
}

CWinApp::~CWinApp() {
    delete m_pDocManager;
    m_pDocManager = nullptr;
    if (g_app == this)
        g_app = nullptr;
    Release(m_pszAppName);
    Release(m_pszRegistryKey);
    Release(m_pszProfileName);
    Release(m_pszExeName);
}

BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance() { return CWinThread::ExitInstance(); }

int CWinApp::Run() {
    if (!m_pMainWnd)
        return ExitInstance();  // nothing to run a loop for
    return CWinThread::Run();
}

void CWinApp::SetRegistryKey(LPCWSTR lpszRegistryKey) {
    Release(m_pszRegistryKey);
    m_pszRegistryKey = Duplicate(lpszRegistryKey ? lpszRegistryKey : L"");
    Release(m_pszProfileName);
    m_pszProfileName = Duplicate(m_pszAppName ? m_pszAppName : L"");
}

void CWinApp::SetRegistryKey(UINT nIDRegistryKey) {
    CString key;
    key.LoadString(nIDRegistryKey);
    SetRegistryKey(key.GetString());
}

std::wstring CWinApp::ProfilePath() const {
    std::wstring path = L"Software";
    if (m_pszRegistryKey && *m_pszRegistryKey)
        path += std::wstring(L"\\") + m_pszRegistryKey;
    return path + L"\\" + (m_pszProfileName ? m_pszProfileName : L"");
}

HKEY CWinApp::GetAppRegistryKey() {
    if (!m_pszRegistryKey || !m_pszProfileName || !*m_pszProfileName)
        return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, ProfilePath().c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::GetSectionKey(LPCWSTR lpszSection) {
    if (!lpszSection)
        return nullptr;
    RegistryKey appKey(GetAppRegistryKey());
    if (!appKey.Get())
        return nullptr;
    HKEY key = nullptr;
    if (RegCreateKeyExW(appKey.Get(), lpszSection, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return nullptr;
    return key;
}

HKEY CWinApp::OpenSectionKeyForReading(LPCWSTR lpszSection) {
    // Reading never creates keys.
    if (!lpszSection || !m_pszRegistryKey || !m_pszProfileName || !*m_pszProfileName)
        return nullptr;
    HKEY key = nullptr;
    const std::wstring path = ProfilePath() + L"\\" + lpszSection;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

UINT CWinApp::GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault) {
    RegistryKey key(OpenSectionKeyForReading(lpszSection));
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!key.Get() || !QueryValue(key.Get(), lpszEntry, type, data) || type != REG_DWORD || data.size() != sizeof(DWORD))
        return static_cast<UINT>(nDefault);
    DWORD value = 0;
    memcpy(&value, data.data(), sizeof(value));
    return value;
}

BOOL CWinApp::WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue) {
    RegistryKey key(GetSectionKey(lpszSection));
    if (!key.Get() || !lpszEntry)
        return FALSE;
    DWORD value = static_cast<DWORD>(nValue);
    return RegSetValueExW(key.Get(), lpszEntry, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

CString CWinApp::GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault) {
    RegistryKey key(OpenSectionKeyForReading(lpszSection));
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!key.Get() || !QueryValue(key.Get(), lpszEntry, type, data) || type != REG_SZ)
        return CString(lpszDefault ? lpszDefault : L"");
    const wchar_t* text = reinterpret_cast<const wchar_t*>(data.data());
    int length = static_cast<int>(data.size() / sizeof(wchar_t));
    while (length > 0 && text[length - 1] == L'\0')
        --length;
    return CString(text, length);
}

BOOL CWinApp::WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue) {
    if (!lpszSection)
        return FALSE;
    if (!lpszEntry) {
        RegistryKey appKey(GetAppRegistryKey());
        if (!appKey.Get())
            return FALSE;
        LSTATUS status = RegDeleteTreeW(appKey.Get(), lpszSection);
        if (status == ERROR_SUCCESS)
            status = RegDeleteKeyW(appKey.Get(), lpszSection);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    RegistryKey key(GetSectionKey(lpszSection));
    if (!key.Get())
        return FALSE;
    if (!lpszValue) {
        LSTATUS status = RegDeleteValueW(key.Get(), lpszEntry);
        return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
    }
    const DWORD bytes = static_cast<DWORD>((wcslen(lpszValue) + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), lpszEntry, 0, REG_SZ, reinterpret_cast<const BYTE*>(lpszValue), bytes) ==
           ERROR_SUCCESS;
}

BOOL CWinApp::GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes) {
    if (!ppData || !pBytes)
        return FALSE;
    *ppData = nullptr;
    *pBytes = 0;
    RegistryKey key(OpenSectionKeyForReading(lpszSection));
    DWORD type = 0;
    std::vector<BYTE> data;
    if (!key.Get() || !QueryValue(key.Get(), lpszEntry, type, data) || type != REG_BINARY)
        return FALSE;
    *ppData = new BYTE[data.empty() ? 1 : data.size()];
    if (!data.empty())
        memcpy(*ppData, data.data(), data.size());
    *pBytes = static_cast<UINT>(data.size());
    return TRUE;
}

BOOL CWinApp::WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes) {
    RegistryKey key(GetSectionKey(lpszSection));
    if (!key.Get() || !lpszEntry || (!pData && nBytes))
        return FALSE;
    return RegSetValueExW(key.Get(), lpszEntry, 0, REG_BINARY, pData, nBytes) == ERROR_SUCCESS;
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    // The parameters after the program's name; with a command line of
    // AfxWinMain, a stand-in name makes CommandLineToArgvW split it alike.
    std::wstring line = m_lpCmdLine ? std::wstring(L"app ") + m_lpCmdLine : std::wstring(GetCommandLineW());
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(line.c_str(), &count);
    if (!arguments)
        return;
    for (int i = 1; i < count; ++i) {
        LPCWSTR parameter = arguments[i];
        BOOL flag = FALSE;
        if (parameter[0] == L'-' || parameter[0] == L'/') {
            flag = TRUE;
            ++parameter;
        }
        rCmdInfo.ParseParam(parameter, flag, i + 1 == count);
    }
    LocalFree(arguments);
}

HICON CWinApp::LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }

HICON CWinApp::LoadIcon(LPCWSTR lpszResourceName) const {
    return ::LoadIconW(AfxFindResourceHandle(lpszResourceName, reinterpret_cast<LPCWSTR>(RT_GROUP_ICON)),
                       lpszResourceName);
}

HICON CWinApp::LoadStandardIcon(LPCWSTR lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

HCURSOR CWinApp::LoadCursor(UINT nIDResource) const {
    LPCWSTR name = MAKEINTRESOURCEW(nIDResource);
    return ::LoadCursorW(AfxFindResourceHandle(name, reinterpret_cast<LPCWSTR>(RT_GROUP_CURSOR)), name);
}

HCURSOR CWinApp::LoadStandardCursor(LPCWSTR lpszCursorName) const { return ::LoadCursorW(nullptr, lpszCursorName); }

// Globals.

CWinApp* AfxGetApp() { return g_app; }

CWinThread* AfxGetThread() {
    return (g_app && g_app->m_nThreadID == GetCurrentThreadId()) ? g_app : nullptr;
}

CWnd* AfxGetMainWnd() {
    CWinThread* thread = AfxGetThread();
    return thread ? thread->GetMainWnd() : nullptr;
}

LPCWSTR AfxGetAppName() { return g_app && g_app->m_pszAppName ? g_app->m_pszAppName : L""; }

HINSTANCE AfxGetInstanceHandle() { return g_app ? g_app->m_hInstance : GetModuleHandleW(nullptr); }

void AfxPostQuitMessage(int nExitCode) { ::PostQuitMessage(nExitCode); }

BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow) {
    if (CWinApp* app = AfxGetApp()) {
        app->m_hInstance = hInstance ? hInstance : GetModuleHandleW(nullptr);
        app->m_lpCmdLine = lpCmdLine;
        app->m_nCmdShow = nCmdShow;
        app->m_nThreadID = GetCurrentThreadId();
    }
    return TRUE;
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow) {
    CWinApp* app = AfxGetApp();
    if (!app || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    if (!app->InitInstance()) {
        if (app->m_pMainWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
