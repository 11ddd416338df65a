// The application's part in documents: its document manager and the shell
// command of the command line.
#include "AfxState.h"

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    if (!m_pDocManager)
        m_pDocManager = new CDocManager;
    m_pDocManager->AddDocTemplate(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(LPCWSTR lpszFileName) {
    return m_pDocManager ? m_pDocManager->OpenDocumentFile(lpszFileName) : nullptr;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    if (m_pDocManager)
        m_pDocManager->CloseAllDocuments(bEndSession);
}

BOOL CWinApp::SaveAllModified() { return m_pDocManager ? m_pDocManager->SaveAllModified() : TRUE; }

void CWinApp::OnFileNew() {
    if (m_pDocManager)
        m_pDocManager->OnFileNew();
}

void CWinApp::OnFileOpen() {
    if (m_pDocManager)
        m_pDocManager->OnFileOpen();
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        // A handler of the application's own for ID_FILE_NEW comes first.
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr))
            OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::AppRegister:
    case CCommandLineInfo::AppUnregister:
        // Registration ends the run; the program registers its COM server itself.
        return FALSE;
    case CCommandLineInfo::FileNothing:
    default:
        return TRUE;
    }
}
