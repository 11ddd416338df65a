#pragma once
// DocManagerProxy: stands in the application's place of the toolkit's document
// manager, so that closing all documents (the main window closing) first
// starts the application's shutdown. Every other operation goes to the
// toolkit's manager unchanged; without one, nothing happens and the empty
// result comes back.
//
// Thread: the GUI thread.
#include <afxwin.h>

namespace ApplicationFramework {

class ApplicationBaseLite;

class DocManagerProxy : public CDocManager {
public:
    // `pImpl` stays the toolkit's (not owned).
    DocManagerProxy(CDocManager* pImpl, ApplicationBaseLite& application)
        : m_pImpl(pImpl), m_application(application) {}

    CDocManager* GetImpl() const { return m_pImpl; }

    void AddDocTemplate(CDocTemplate* pTemplate) override;
    POSITION GetFirstDocTemplatePosition() const override;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const override;
    void RegisterShellFileTypes(BOOL bCompat) override;
    void UnregisterShellFileTypes() override;
    CDocument* OpenDocumentFile(LPCWSTR lpszFileName) override;
    BOOL SaveAllModified() override;
    // Runs the application's _BeginShutdownOnClose, then forwards.
    void CloseAllDocuments(BOOL bEndSession) override;
    int GetOpenDocumentCount() override;
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate) override;
    BOOL OnDDECommand(LPWSTR lpszCommand) override;
    void OnFileNew() override;
    void OnFileOpen() override;

private:
    CDocManager* m_pImpl;
    ApplicationBaseLite& m_application;
};

}  // namespace ApplicationFramework
