#include "AfxState.h"

#include <commdlg.h>

#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CDocManager, CObject)

namespace {

// The file types of a template, as the shell sees them.
struct ShellFileType {
    CString id;
    CString name;
    std::vector<CString> extensions;  // with the dot
};

bool GetShellFileType(const CDocTemplate& docTemplate, ShellFileType& type) {
    if (!docTemplate.GetDocString(type.id, CDocTemplate::regFileTypeId))
        return false;
    if (!docTemplate.GetDocString(type.name, CDocTemplate::regFileTypeName))
        type.name = type.id;
    CString filter;
    docTemplate.GetDocString(filter, CDocTemplate::filterExt);
    int start = 0;
    for (CString extension = filter.Tokenize(L";", start); start >= 0; extension = filter.Tokenize(L";", start)) {
        extension.TrimLeft(L'*');
        if (extension.GetLength() > 1 && extension[0] == L'.')
            type.extensions.push_back(extension);
    }
    return true;
}

// The classes of the current user: no administrator rights needed.
const wchar_t kUserClasses[] = L"Software\\Classes\\";

bool SetDefaultValue(const CString& subKey, const CString& value) {
    const std::wstring path = kUserClasses + std::wstring(subKey.GetString());
    const DWORD bytes = static_cast<DWORD>((value.GetLength() + 1) * sizeof(wchar_t));
    return RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, REG_SZ, value.GetString(), bytes) ==
           ERROR_SUCCESS;
}

CString GetDefaultValue(const CString& subKey) {
    const std::wstring path = kUserClasses + std::wstring(subKey.GetString());
    wchar_t value[512] = {};
    DWORD bytes = sizeof(value) - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &bytes) !=
        ERROR_SUCCESS)
        return CString();
    return CString(value);
}

void DeleteTree(const CString& subKey) {
    const std::wstring path = kUserClasses + std::wstring(subKey.GetString());
    RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

CString ModulePath() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(AfxGetInstanceHandle(), path, MAX_PATH);
    return CString(path);
}

// "[open("c:\file")]" gives the path between the quotes.
bool ParseOpenCommand(const CString& command, CString& path) {
    CString text(command);
    text.Trim();
    const CString prefix = L"[open(\"";
    if (text.GetLength() < prefix.GetLength() || text.Left(prefix.GetLength()).CompareNoCase(prefix) != 0)
        return false;
    const int end = text.Find(L"\")]", prefix.GetLength());
    if (end < 0)
        return false;
    path = text.Mid(prefix.GetLength(), end - prefix.GetLength());
    return !path.IsEmpty();
}

}  // namespace

CDocManager::~CDocManager() {
    while (!m_templateList.IsEmpty()) {
        CDocTemplate* docTemplate = m_templateList.RemoveHead();
        if (docTemplate->m_bAutoDelete)
            delete docTemplate;
    }
}

void CDocManager::AddDocTemplate(CDocTemplate* pTemplate) {
    if (!pTemplate || m_templateList.Find(pTemplate))
        return;
    m_templateList.AddTail(pTemplate);
    pTemplate->LoadTemplate();
}

POSITION CDocManager::GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }

CDocTemplate* CDocManager::GetNextDocTemplate(POSITION& pos) const { return m_templateList.GetNext(pos); }

void CDocManager::RegisterShellFileTypes(BOOL) {
    // The program prints nothing: the compatible print commands are left out.
    const CString module = ModulePath();
    for (POSITION position = GetFirstDocTemplatePosition(); position;) {
        ShellFileType type;
        if (!GetShellFileType(*GetNextDocTemplate(position), type))
            continue;
        SetDefaultValue(type.id, type.name);
        SetDefaultValue(type.id + L"\\DefaultIcon", module + L",0");
        SetDefaultValue(type.id + L"\\shell\\open\\command", L"\"" + module + L"\" \"%1\"");
        for (const CString& extension : type.extensions)
            SetDefaultValue(extension, type.id);
    }
}

void CDocManager::UnregisterShellFileTypes() {
    for (POSITION position = GetFirstDocTemplatePosition(); position;) {
        ShellFileType type;
        if (!GetShellFileType(*GetNextDocTemplate(position), type))
            continue;
        // An extension that another program took over is left to it.
        for (const CString& extension : type.extensions) {
            if (GetDefaultValue(extension).CompareNoCase(type.id) == 0)
                DeleteTree(extension);
        }
        DeleteTree(type.id);
    }
}

CDocument* CDocManager::OpenDocumentFile(LPCWSTR lpszFileName) {
    if (!lpszFileName || !*lpszFileName) {
        AfxMessageBox(kAfxFailedToOpenDocument, MB_ICONEXCLAMATION);
        return nullptr;
    }
    CDocTemplate* best = nullptr;
    CDocTemplate::Confidence bestMatch = CDocTemplate::noAttempt;
    CDocument* openDocument = nullptr;
    for (POSITION position = GetFirstDocTemplatePosition(); position;) {
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        CDocument* match = nullptr;
        const CDocTemplate::Confidence confidence = docTemplate->MatchDocType(lpszFileName, match);
        if (confidence > bestMatch) {
            bestMatch = confidence;
            best = docTemplate;
        }
        if (confidence == CDocTemplate::yesAlreadyOpen) {
            openDocument = match;
            break;
        }
    }
    if (openDocument) {
        // Shows the document that has the file open already.
        POSITION position = openDocument->GetFirstViewPosition();
        if (position) {
            CView* view = openDocument->GetNextView(position);
            if (CFrameWnd* frame = view->GetParentFrame())
                frame->ActivateFrame();
        }
        return openDocument;
    }
    if (!best) {
        AfxMessageBox(kAfxFailedToOpenDocument, MB_ICONEXCLAMATION);
        return nullptr;
    }
    return best->OpenDocumentFile(lpszFileName);
}

BOOL CDocManager::SaveAllModified() {
    for (POSITION position = GetFirstDocTemplatePosition(); position;) {
        if (!GetNextDocTemplate(position)->SaveAllModified())
            return FALSE;
    }
    return TRUE;
}

void CDocManager::CloseAllDocuments(BOOL bEndSession) {
    for (POSITION position = GetFirstDocTemplatePosition(); position;)
        GetNextDocTemplate(position)->CloseAllDocuments(bEndSession);
}

int CDocManager::GetOpenDocumentCount() {
    int count = 0;
    for (POSITION position = GetFirstDocTemplatePosition(); position;) {
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        for (POSITION documents = docTemplate->GetFirstDocPosition(); documents;) {
            docTemplate->GetNextDoc(documents);
            ++count;
        }
    }
    return count;
}

BOOL CDocManager::DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                                   CDocTemplate* pTemplate) {
    // The filter: the template's kind (or every template's), then all files;
    // each entry is a name and a pattern, the list ends with an empty one.
    std::wstring filter;
    CString defaultExtension;
    for (POSITION position = GetFirstDocTemplatePosition(); position;) {
        CDocTemplate* docTemplate = GetNextDocTemplate(position);
        if (pTemplate && docTemplate != pTemplate)
            continue;
        CString name, extension;
        if (!docTemplate->GetDocString(name, CDocTemplate::filterName) ||
            !docTemplate->GetDocString(extension, CDocTemplate::filterExt))
            continue;
        CString patterns;
        int start = 0;
        for (CString one = extension.Tokenize(L";", start); start >= 0; one = extension.Tokenize(L";", start)) {
            one.TrimLeft(L'*');
            if (defaultExtension.IsEmpty() && one.GetLength() > 1)
                defaultExtension = one.Mid(1);
            patterns += (patterns.IsEmpty() ? L"*" : L";*") + one;
        }
        filter += std::wstring(name.GetString()) + L'\0' + patterns.GetString() + L'\0';
    }
    filter += std::wstring(L"All Files (*.*)") + L'\0' + L"*.*" + L'\0' + L'\0';

    CString title;
    if (nIDSTitle)
        title.LoadString(nIDSTitle);
    std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
    wcsncpy(file.data(), fileName.GetString(), file.size() - 1);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof(ofn);
    CWnd* main = AfxGetMainWnd();
    ofn.hwndOwner = main ? main->m_hWnd : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.IsEmpty() ? nullptr : title.GetString();
    ofn.lpstrDefExt = defaultExtension.IsEmpty() ? nullptr : defaultExtension.GetString();
    ofn.Flags = lFlags | OFN_EXPLORER | OFN_ENABLESIZING;
    if (!AfxRunFileDialog(&ofn, bOpenFileDialog))
        return FALSE;
    fileName = file.data();
    return TRUE;
}

BOOL CDocManager::OnDDECommand(LPWSTR lpszCommand) {
    CString path;
    if (!lpszCommand || !ParseOpenCommand(lpszCommand, path))
        return FALSE;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(path);
    return TRUE;
}

void CDocManager::OnFileNew() {
    if (m_templateList.IsEmpty()) {
        AfxMessageBox(kAfxFailedToCreateDocument, MB_ICONEXCLAMATION);
        return;
    }
    // With several kinds of document the first is taken; this program has one.
    m_templateList.GetHead()->OpenDocumentFile(nullptr);
}

void CDocManager::OnFileOpen() {
    CString fileName;
    if (!DoPromptFileName(fileName, 0, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr))
        return;
    if (CWinApp* app = AfxGetApp())
        app->OpenDocumentFile(fileName);
}
