#include "AfxState.h"

IMPLEMENT_DYNAMIC(CDocTemplate, CCmdTarget)
IMPLEMENT_DYNAMIC(CSingleDocTemplate, CDocTemplate)

namespace {

// The pseudo position of a single-document template's one document.
const POSITION kOnlyDocPosition = reinterpret_cast<POSITION>(1);

bool EndsWithNoCase(const CString& text, const CString& end) {
    return !end.IsEmpty() && text.GetLength() >= end.GetLength() &&
           text.Right(end.GetLength()).CompareNoCase(end) == 0;
}

CString FullPath(LPCWSTR path) {
    wchar_t full[MAX_PATH] = {};
    DWORD length = GetFullPathNameW(path, MAX_PATH, full, nullptr);
    return (length == 0 || length >= MAX_PATH) ? CString(path) : CString(full);
}

}  // namespace

CDocTemplate::CDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                           CRuntimeClass* pViewClass)
    : m_nIDResource(nIDResource), m_pDocClass(pDocClass), m_pFrameClass(pFrameClass), m_pViewClass(pViewClass) {}

void CDocTemplate::LoadTemplate() {
    if (m_strDocStrings.IsEmpty())
        m_strDocStrings.LoadString(m_nIDResource);
}

void CDocTemplate::AddDocument(CDocument* pDoc) { pDoc->m_pDocTemplate = this; }

void CDocTemplate::RemoveDocument(CDocument* pDoc) {
    if (pDoc->m_pDocTemplate == this)
        pDoc->m_pDocTemplate = nullptr;
}

BOOL CDocTemplate::GetDocString(CString& rString, DocStringIndex index) const {
    rString.Empty();
    int start = 0;
    for (int part = 0; part < index; ++part) {
        start = m_strDocStrings.Find(L'\n', start);
        if (start < 0)
            return FALSE;
        ++start;
    }
    int end = m_strDocStrings.Find(L'\n', start);
    rString = end < 0 ? m_strDocStrings.Mid(start) : m_strDocStrings.Mid(start, end - start);
    return !rString.IsEmpty();
}

CDocTemplate::Confidence CDocTemplate::MatchDocType(LPCWSTR lpszPathName, CDocument*& rpDocMatch) {
    rpDocMatch = nullptr;
    const CString path = FullPath(lpszPathName);
    for (POSITION position = GetFirstDocPosition(); position;) {
        CDocument* document = GetNextDoc(position);
        if (!document->GetPathName().IsEmpty() && document->GetPathName().CompareNoCase(path) == 0) {
            rpDocMatch = document;
            return yesAlreadyOpen;
        }
    }
    // The filter may name several extensions: "*.flv;*.mp4".
    CString filter;
    if (GetDocString(filter, filterExt)) {
        int start = 0;
        for (CString extension = filter.Tokenize(L";", start); start >= 0; extension = filter.Tokenize(L";", start)) {
            extension.TrimLeft(L'*');
            if (EndsWithNoCase(path, extension))
                return yesAttemptNative;
        }
    }
    return yesAttemptForeign;
}

CDocument* CDocTemplate::CreateNewDocument() {
    CObject* object = m_pDocClass ? m_pDocClass->CreateObject() : nullptr;
    CDocument* document = dynamic_cast<CDocument*>(object);
    if (!document) {
        delete object;
        return nullptr;
    }
    AddDocument(document);
    return document;
}

CFrameWnd* CDocTemplate::CreateNewFrame(CDocument* pDoc, CFrameWnd* pOther) {
    CCreateContext context;
    context.m_pCurrentFrame = pOther;
    context.m_pCurrentDoc = pDoc;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pNewDocTemplate = this;
    CObject* object = m_pFrameClass ? m_pFrameClass->CreateObject() : nullptr;
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(object);
    if (!frame) {
        delete object;
        return nullptr;
    }
    // A frame that fails deletes itself (PostNcDestroy).
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CFrameWnd* pFrame, CDocument* pDoc, BOOL bMakeVisible) {
    pFrame->InitialUpdateFrame(pDoc, bMakeVisible);
}

BOOL CDocTemplate::SaveAllModified() {
    for (POSITION position = GetFirstDocPosition(); position;) {
        if (!GetNextDoc(position)->SaveModified())
            return FALSE;
    }
    return TRUE;
}

void CDocTemplate::CloseAllDocuments(BOOL) {
    // Closing removes the document from the list: the next one is taken first.
    for (POSITION position = GetFirstDocPosition(); position;) {
        CDocument* document = GetNextDoc(position);
        document->OnCloseDocument();
    }
}

// The single-document template.

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, CRuntimeClass* pDocClass, CRuntimeClass* pFrameClass,
                                       CRuntimeClass* pViewClass)
    : CDocTemplate(nIDResource, pDocClass, pFrameClass, pViewClass) {}

CSingleDocTemplate::~CSingleDocTemplate() {
    // A document that outlives its template must not call back into it.
    if (m_pOnlyDoc)
        m_pOnlyDoc->m_pDocTemplate = nullptr;
}

POSITION CSingleDocTemplate::GetFirstDocPosition() const { return m_pOnlyDoc ? kOnlyDocPosition : nullptr; }

CDocument* CSingleDocTemplate::GetNextDoc(POSITION& rPos) const {
    CDocument* document = rPos == kOnlyDocPosition ? m_pOnlyDoc : nullptr;
    rPos = nullptr;
    return document;
}

void CSingleDocTemplate::AddDocument(CDocument* pDoc) {
    if (m_pOnlyDoc && m_pOnlyDoc != pDoc)
        return;  // room for one document only
    CDocTemplate::AddDocument(pDoc);
    m_pOnlyDoc = pDoc;
}

void CSingleDocTemplate::RemoveDocument(CDocument* pDoc) {
    CDocTemplate::RemoveDocument(pDoc);
    if (m_pOnlyDoc == pDoc)
        m_pOnlyDoc = nullptr;
}

void CSingleDocTemplate::SetDefaultTitle(CDocument* pDocument) {
    CString name;
    if (!GetDocString(name, docName) || name.IsEmpty())
        name = L"Untitled";
    pDocument->SetTitle(name);
}

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR lpszPathName, BOOL bMakeVisible) {
    CDocument* document = nullptr;
    CFrameWnd* frame = nullptr;
    BOOL created = FALSE;
    if (m_pOnlyDoc) {
        // The one document is reused, in the frame of its view.
        document = m_pOnlyDoc;
        if (!document->SaveModified())
            return nullptr;
        POSITION position = document->GetFirstViewPosition();
        if (position)
            frame = document->GetNextView(position)->GetParentFrame();
        if (!frame)
            frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd());
    } else {
        document = CreateNewDocument();
        created = TRUE;
    }
    if (!document) {
        AfxMessageBox(kAfxFailedToCreateDocument, MB_ICONEXCLAMATION);
        return nullptr;
    }
    if (!frame) {
        // The frame's view joins the document; it must not delete itself
        // if the frame fails half way.
        const BOOL autoDelete = document->m_bAutoDelete;
        document->m_bAutoDelete = FALSE;
        frame = CreateNewFrame(document, nullptr);
        document->m_bAutoDelete = autoDelete;
        if (!frame) {
            AfxMessageBox(kAfxFailedToCreateDocument, MB_ICONEXCLAMATION);
            if (created)
                delete document;
            return nullptr;
        }
    }

    if (!lpszPathName) {
        SetDefaultTitle(document);
        if (!document->OnNewDocument()) {
            if (created)
                frame->DestroyWindow();  // and with it the document
            return nullptr;
        }
    } else {
        const BOOL wasModified = document->IsModified();
        document->SetModifiedFlag(FALSE);
        if (!document->OnOpenDocument(lpszPathName)) {
            if (created) {
                frame->DestroyWindow();
            } else if (!document->IsModified()) {
                document->SetModifiedFlag(wasModified);  // the old contents are untouched
            } else {
                // The failed open spoilt the old contents: start afresh.
                SetDefaultTitle(document);
                document->OnNewDocument();
            }
            return nullptr;
        }
        document->SetPathName(lpszPathName);
    }

    CWinThread* thread = AfxGetThread();
    if (created && thread && !thread->m_pMainWnd)
        thread->m_pMainWnd = frame;
    InitialUpdateFrame(frame, document, bMakeVisible);
    return document;
}
