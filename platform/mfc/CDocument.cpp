#include "AfxState.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace {

// The user's message for a file the document could not read or write.
void ReportFileError(LPCWSTR path, DWORD error, bool saving) {
    CString text;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        text.Format(L"%s\nCannot find this file.\nVerify that the correct path and file name are given.", path);
        break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        text.Format(saving ? L"Unable to write to %s, it is read-only or opened by someone else."
                           : L"Unable to read from %s, it is opened by someone else.",
                    path);
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        text = L"Destination disk drive is full.";
        break;
    default:
        text.Format(saving ? L"An unexpected error occurred while writing %s."
                           : L"An unexpected error occurred while reading %s.",
                    path);
        break;
    }
    AfxMessageBox(text, MB_ICONEXCLAMATION);
}

// Opens (reading) or creates (writing) the document's file; false after
// telling the user why not.
bool TouchFile(LPCWSTR path, bool saving) {
    HANDLE file = CreateFileW(path, saving ? GENERIC_WRITE : GENERIC_READ, saving ? 0 : FILE_SHARE_READ, nullptr,
                              saving ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ReportFileError(path, GetLastError(), saving);
        return false;
    }
    CloseHandle(file);
    return true;
}

}  // namespace

CDocument::~CDocument() {
    // Views that outlive the document no longer point at it.
    while (!m_viewList.IsEmpty())
        m_viewList.RemoveHead()->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(LPCWSTR lpszTitle) {
    m_strTitle = lpszTitle ? lpszTitle : L"";
    UpdateFrameCounts();
}

void CDocument::SetPathName(LPCWSTR lpszPathName, BOOL) {
    wchar_t full[MAX_PATH] = {};
    LPWSTR filePart = nullptr;
    DWORD length = GetFullPathNameW(lpszPathName, MAX_PATH, full, &filePart);
    if (length == 0 || length >= MAX_PATH) {
        m_strPathName = lpszPathName;
        filePart = nullptr;
    } else {
        m_strPathName = full;
    }
    CString title = filePart ? CString(filePart) : m_strPathName;
    SetTitle(title);
}

void CDocument::AddView(CView* pView) {
    if (!pView || m_viewList.Find(pView))
        return;
    m_viewList.AddTail(pView);
    pView->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* pView) {
    POSITION position = pView ? m_viewList.Find(pView) : nullptr;
    if (!position)
        return;
    m_viewList.RemoveAt(position);
    pView->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* pSender, LPARAM lHint, CObject* pHint) {
    for (POSITION position = GetFirstViewPosition(); position;) {
        CView* view = GetNextView(position);
        if (view != pSender)
            view->OnUpdate(pSender, lHint, pHint);
    }
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnOpenDocument(LPCWSTR lpszPathName) {
    if (!lpszPathName || !TouchFile(lpszPathName, false))
        return FALSE;
    DeleteContents();
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::OnSaveDocument(LPCWSTR lpszPathName) {
    // The base document keeps no data of its own: saving leaves an empty file.
    if (!lpszPathName || !TouchFile(lpszPathName, true))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // The views go with their frames; the document must not delete itself
    // when the last of them leaves.
    const BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        CView* view = m_viewList.GetHead();
        CFrameWnd* frame = view->GetParentFrame();
        if (frame) {
            PreCloseFrame(frame);
            frame->DestroyWindow();
        }
        // A view without a frame, or one that outlived it, goes by itself.
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view) {
            if (view->m_hWnd)
                view->DestroyWindow();
            else
                RemoveView(view);
        }
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
    if (name.IsEmpty())
        name = L"Untitled";
    CString prompt;
    prompt.Format(L"Save changes to %s?", name.GetString());
    switch (AfxMessageBox(prompt, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

BOOL CDocument::CanCloseFrame(CFrameWnd* pFrame) {
    // Only the last frame showing the document asks about unsaved changes.
    for (POSITION position = GetFirstViewPosition(); position;) {
        CFrameWnd* frame = GetNextView(position)->GetParentFrame();
        if (frame && frame != pFrame)
            return TRUE;
    }
    return SaveModified();
}

void CDocument::OnChangedViewList() {
    if (m_viewList.IsEmpty() && m_bAutoDelete) {
        OnCloseDocument();
        return;
    }
    UpdateFrameCounts();
}

void CDocument::UpdateFrameCounts() {
    std::vector<CFrameWnd*> frames;
    for (POSITION position = GetFirstViewPosition(); position;) {
        CFrameWnd* frame = GetNextView(position)->GetParentFrame();
        if (frame && frame->m_hWnd && std::find(frames.begin(), frames.end(), frame) == frames.end())
            frames.push_back(frame);
    }
    // Several frames on one document are numbered in their titles.
    for (size_t i = 0; i < frames.size(); ++i) {
        frames[i]->m_nWindow = frames.size() > 1 ? static_cast<int>(i + 1) : -1;
        frames[i]->OnUpdateFrameTitle(TRUE);
    }
}

BOOL CDocument::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CDocument::DoSave(LPCWSTR lpszPathName, BOOL bReplace) {
    CString newName = lpszPathName ? CString(lpszPathName) : CString();
    if (newName.IsEmpty()) {
        newName = m_strPathName.IsEmpty() ? m_strTitle : m_strPathName;
        CWinApp* app = AfxGetApp();
        if (!app || !app->m_pDocManager ||
            !app->m_pDocManager->DoPromptFileName(newName, 0, OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE,
                                                  m_pDocTemplate))
            return FALSE;
    }
    if (!OnSaveDocument(newName))
        return FALSE;
    if (bReplace)
        SetPathName(newName);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    const DWORD attributes = m_strPathName.IsEmpty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(m_strPathName);
    // No file yet, or a read-only one: ask for a name.
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_READONLY))
        return DoSave(nullptr);
    return DoSave(m_strPathName);
}
