#include "appframework/application/DocManagerProxy.h"

#include "appframework/application/ApplicationBaseLite.h"

namespace ApplicationFramework {

void DocManagerProxy::AddDocTemplate(CDocTemplate* pTemplate) {
    if (m_pImpl)
        m_pImpl->AddDocTemplate(pTemplate);
}

POSITION DocManagerProxy::GetFirstDocTemplatePosition() const {
    return m_pImpl ? m_pImpl->GetFirstDocTemplatePosition() : nullptr;
}

CDocTemplate* DocManagerProxy::GetNextDocTemplate(POSITION& pos) const {
    return m_pImpl ? m_pImpl->GetNextDocTemplate(pos) : nullptr;
}

void DocManagerProxy::RegisterShellFileTypes(BOOL bCompat) {
    if (m_pImpl)
        m_pImpl->RegisterShellFileTypes(bCompat);
}

void DocManagerProxy::UnregisterShellFileTypes() {
    if (m_pImpl)
        m_pImpl->UnregisterShellFileTypes();
}

CDocument* DocManagerProxy::OpenDocumentFile(LPCWSTR lpszFileName) {
    return m_pImpl ? m_pImpl->OpenDocumentFile(lpszFileName) : nullptr;
}

BOOL DocManagerProxy::SaveAllModified() {
    return m_pImpl ? m_pImpl->SaveAllModified() : FALSE;
}

void DocManagerProxy::CloseAllDocuments(BOOL bEndSession) {
    m_application._BeginShutdownOnClose();
    if (m_pImpl)
        m_pImpl->CloseAllDocuments(bEndSession);
}

int DocManagerProxy::GetOpenDocumentCount() {
    return m_pImpl ? m_pImpl->GetOpenDocumentCount() : 0;
}

BOOL DocManagerProxy::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                       CDocTemplate* pTemplate) {
    return m_pImpl ? m_pImpl->DoPromptFileName(fileName, nIDSTitle, lFlags, bOpenFileDialog, pTemplate) : FALSE;
}

BOOL DocManagerProxy::OnDDECommand(LPWSTR lpszCommand) {
    return m_pImpl ? m_pImpl->OnDDECommand(lpszCommand) : FALSE;
}

void DocManagerProxy::OnFileNew() {
    if (m_pImpl)
        m_pImpl->OnFileNew();
}

void DocManagerProxy::OnFileOpen() {
    if (m_pImpl)
        m_pImpl->OnFileOpen();
}

}  // namespace ApplicationFramework
