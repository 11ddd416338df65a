#pragma once
// MFC's document: the data behind one or more views, made by a document
// template. A document deletes itself when its last view goes (unless it is
// closing its views itself), and closing it destroys the frames of its views.
// Commands that reach it and find no handler go on to its template.
#include "afxtempl.h"
#include "mfc/CCmdTarget.h"

#include "atlstr.h"

class CDocTemplate;
class CFrameWnd;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument() = default;
    // Leaves its template's list of documents.
    ~CDocument() override;

    const CString& GetTitle() const { return m_strTitle; }
    // Also the title of the frames of its views.
    virtual void SetTitle(LPCWSTR lpszTitle);
    const CString& GetPathName() const { return m_strPathName; }
    // The full path; the title becomes the file's name.
    virtual void SetPathName(LPCWSTR lpszPathName, BOOL bAddToMRU = TRUE);
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL bModified = TRUE) { m_bModified = bModified; }

    // Views.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& rPosition) const { return m_viewList.GetNext(rPosition); }
    // OnUpdate of every view but the sender.
    void UpdateAllViews(CView* pSender, LPARAM lHint = 0, CObject* pHint = nullptr);

    // Overridables of the document's life.
    virtual BOOL OnNewDocument();
    // Opens the file for reading; one that cannot be read is reported to the
    // user and gives FALSE.
    virtual BOOL OnOpenDocument(LPCWSTR lpszPathName);
    // Writes the document to the file; FALSE (after telling the user) when
    // the file cannot be written.
    virtual BOOL OnSaveDocument(LPCWSTR lpszPathName);
    // Destroys the frames of its views, then deletes itself when auto-deleting.
    virtual void OnCloseDocument();
    virtual void DeleteContents() {}
    // FALSE when the user cancels; a modified document asks whether to save.
    virtual BOOL SaveModified();
    virtual BOOL CanCloseFrame(CFrameWnd* pFrame);
    virtual void PreCloseFrame(CFrameWnd* /*pFrame*/) {}
    // After a view came or went: the last view gone closes the document.
    virtual void OnChangedViewList();
    // Each frame of its views shows the title again.
    virtual void UpdateFrameCounts();

    // Commands: the document first, then its template.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;

    // Saving: with a null path the user is asked for a file name.
    virtual BOOL DoSave(LPCWSTR lpszPathName, BOOL bReplace = TRUE);
    virtual BOOL DoFileSave();

    CString m_strTitle;
    CString m_strPathName;
    CDocTemplate* m_pDocTemplate = nullptr;
    CList<CView*, CView*> m_viewList;
    BOOL m_bModified = FALSE;
    BOOL m_bAutoDelete = TRUE;  // deleted when its last view goes
    BOOL m_bEmbedded = FALSE;
};
