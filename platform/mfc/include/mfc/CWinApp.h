#pragma once
// MFC's thread and application objects. The one CWinApp of a process is the
// CWinThread of the thread that runs AfxWinMain: InitInstance, then Run (the
// message loop) unless InitInstance failed, then ExitInstance. Run ends when
// WM_QUIT arrives, which the destruction of the main window posts; without a
// main window it returns at once. The profile functions keep named values in
// sections under HKEY_CURRENT_USER\Software\<registry key>\<profile name>.
// Thread: the application belongs to the thread that runs it; AfxGetApp
// answers on any thread, AfxGetThread and AfxGetMainWnd only on that one.
#include "afxres_find.h"
#include "mfc/CWnd.h"

#include <string>

class CDocManager;
class CDocTemplate;
class CDocument;

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();

    virtual BOOL InitInstance();
    // The exit code: wParam of the WM_QUIT that ended Run.
    virtual int ExitInstance();
    virtual int Run();
    // Walks from the message's window up to the main window calling each
    // PreTranslateMessage; the main window gets a last chance at messages of
    // other top-level windows. TRUE when one of them took the message.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // Gets, pre-translates and dispatches one message; FALSE for WM_QUIT.
    virtual BOOL PumpMessage();
    // Idle time: the main window and its descendants bring their commands'
    // states up to date (WM_IDLEUPDATECMDUI), then temporary objects are
    // freed. TRUE asks for more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that come often without changing anything
    // (repeated mouse moves, paints), which do not restart idle processing.
    virtual BOOL IsIdleMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd();

    CWnd* m_pMainWnd = nullptr;
    CWnd* m_pActiveWnd = nullptr;
    BOOL m_bAutoDelete = FALSE;
    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    MSG m_msgCur{};
};

// What ParseCommandLine found. Shell commands follow MFC's switches:
// /Register and /RegServer ask for AppRegister, /Unregister and
// /UnregServer for AppUnregister, /Embedding and /Automation mark a start by
// COM; a first plain parameter names a file to open.
class CCommandLineInfo : public CObject {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

    CCommandLineInfo() = default;
    // One parameter of the command line, without its leading '/' or '-' when bFlag.
    virtual void ParseParam(LPCWSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // The application name; null takes the AFX_IDS_APP_TITLE string or the
    // executable's name at start-up.
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    // Deletes the document manager (and with it the templates).
    ~CWinApp() override;

    // Documents. The first template makes the document manager; a program
    // may replace m_pDocManager by its own (the application deletes it).
    void AddDocTemplate(CDocTemplate* pTemplate);
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    void CloseAllDocuments(BOOL bEndSession);
    BOOL SaveAllModified();
    // FileNew: a new document with frame and view (FALSE when no main window
    // results); FileOpen: the named file (FALSE when it cannot be opened);
    // FileNothing: TRUE; the registration requests: FALSE, as the program
    // handles them itself before this.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    CDocManager* m_pDocManager = nullptr;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Returns ExitInstance() at once when there is no main window.
    int Run() override;

    // Strings owned by the application (allocated with malloc, freed at its end).
    LPCWSTR m_pszAppName = nullptr;
    LPCWSTR m_pszRegistryKey = nullptr;
    LPCWSTR m_pszProfileName = nullptr;
    LPCWSTR m_pszExeName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;

    // Moves the profile into the registry under "Software\<key>\<app name>"; an
    // empty key puts it directly under "Software\<app name>".
    void SetRegistryKey(LPCWSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);

    // Reads give the default when the section or value is missing or of
    // another type (a string read as an int gives the default). Without a
    // registry key there is no profile: reads give defaults, writes fail.
    UINT GetProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCWSTR lpszSection, LPCWSTR lpszEntry, int nValue);
    CString GetProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszDefault = nullptr);
    // A null entry deletes the whole section, a null value deletes the entry.
    BOOL WriteProfileString(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPCWSTR lpszValue);
    // *ppData is a new[] array the caller deletes; null and 0 when missing.
    BOOL GetProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE* ppData, UINT* pBytes);
    BOOL WriteProfileBinary(LPCWSTR lpszSection, LPCWSTR lpszEntry, LPBYTE pData, UINT nBytes);
    // Open keys of the profile (created when missing); the caller closes them.
    HKEY GetAppRegistryKey();
    HKEY GetSectionKey(LPCWSTR lpszSection);

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);

    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadIcon(LPCWSTR lpszResourceName) const;
    HICON LoadStandardIcon(LPCWSTR lpszIconName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCWSTR lpszCursorName) const;

private:
    friend BOOL AfxWinInit(HINSTANCE, HINSTANCE, LPWSTR, int);
    HKEY OpenSectionKeyForReading(LPCWSTR lpszSection);
    std::wstring ProfilePath() const;
};

// The application object (null when none exists) and the thread object of
// the calling thread (the application on its own thread, else null).
CWinApp* AfxGetApp();
CWinThread* AfxGetThread();
// The main window of the calling thread's thread object, or null.
CWnd* AfxGetMainWnd();
LPCWSTR AfxGetAppName();
HINSTANCE AfxGetInstanceHandle();
void AfxPostQuitMessage(int nExitCode);

// Start-up of the application object; AfxWinMain is the program's entry.
BOOL AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);

// The string resource of the application's title, when a program has one.
#ifndef AFX_IDS_APP_TITLE
#define AFX_IDS_APP_TITLE 0xE000
#endif
