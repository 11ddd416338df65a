#pragma once
// MFC's document manager: the application's list of document templates and
// the operations over all of them. The application makes one with its first
// AddDocTemplate; a program may put its own (derived) manager in its place.
// The virtual operations keep MFC's order, so that a manager that wraps
// another can forward each one.
#include "mfc/CDocTemplate.h"

class CDocManager : public CObject {
    DECLARE_DYNAMIC(CDocManager)
public:
    CDocManager() = default;
    // Deletes the templates that auto-delete.
    ~CDocManager() override;

    virtual void AddDocTemplate(CDocTemplate* pTemplate);
    virtual POSITION GetFirstDocTemplatePosition() const;
    virtual CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    // The file types of the templates (extension and type id of their
    // document strings), opened by this program, for the current user.
    virtual void RegisterShellFileTypes(BOOL bCompat);
    virtual void UnregisterShellFileTypes();
    // Opens the file with the template that suits it best, or shows the
    // document that has it open already; null (after telling the user) on failure.
    virtual CDocument* OpenDocumentFile(LPCWSTR lpszFileName);
    virtual BOOL SaveAllModified();
    virtual void CloseAllDocuments(BOOL bEndSession);
    virtual int GetOpenDocumentCount();
    // Asks the user for a file name through the file-dialog seam; FALSE when cancelled.
    virtual BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                  CDocTemplate* pTemplate);
    // [open("file")] opens the file; other commands are not understood (FALSE).
    virtual BOOL OnDDECommand(LPWSTR lpszCommand);
    // A new document of the first template.
    virtual void OnFileNew();
    // Asks for a file and opens it.
    virtual void OnFileOpen();

protected:
    CList<CDocTemplate*, CDocTemplate*> m_templateList;
};
