#include "downloads/settings/VideosFolderCheck.h"

#include "foundation/errors/FormatErrorCode.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/strings/StringFormat.h"
#include "resources/appresources/MainResourceIds.h"
#include "resources/appresources/ResourceManagerHolder.h"

#include <cwctype>
#include <vector>

namespace {

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The characters no Windows name may hold, each once, in the order met.
std::wstring ForbiddenCharacters(const std::wstring& names) {
    std::wstring found;
    for (wchar_t c : names) {
        const bool forbidden = c < 32 || std::wcschr(L"<>\"|?*:", c) != nullptr;
        if (forbidden && found.find(c) == std::wstring::npos)
            found += c;
    }
    return found;
}

// A 10,000-character path fills no message box: its start and its end do.
std::wstring Shown(const std::wstring& folder) {
    const std::size_t kHead = 80, kTail = 60;
    if (folder.size() <= kHead + kTail + 3)
        return folder;
    return folder.substr(0, kHead) + L"..." + folder.substr(folder.size() - kTail);
}

// Control characters would vanish from the message: they show as their code.
std::wstring ShownCharacters(const std::wstring& characters) {
    std::wstring shown;
    for (wchar_t c : characters) {
        if (!shown.empty())
            shown += L' ';
        if (c < 32)
            shown += L"U+" + std::wstring(c < 16 ? L"000" : L"00") + ErrorHandling::ToLowerHex(c);
        else
            shown += c;
    }
    return shown;
}

std::wstring Reason(DWORD error) {
    std::wstring reason;
    // The plain Win32 number: the system's table is keyed by it.
    ErrorHandling::AppendSystemMessage(ErrorHandling::ErrorCode(static_cast<HRESULT>(error)), reason);
    while (!reason.empty() && (reason.back() == L'.' || std::iswspace(reason.back())))
        reason.pop_back();
    return reason.empty() ? L"error " + std::to_wstring(error) : reason;
}

std::wstring Text(int stringId) {
    return AppResources::ResourceManagerHolder::GetManager()->GetString(stringId);
}

// Removes the levels this check made, deepest first; they are empty.
void RemoveMade(const std::vector<std::wstring>& made) {
    for (auto level = made.rbegin(); level != made.rend(); ++level)
        ::RemoveDirectoryW(level->c_str());
}

// A new file made and removed again; the error of a refusal, else 0.
DWORD ProbeWrite(const std::wstring& folder) {
    std::wstring probe = folder;
    if (!IsSeparator(probe.back()))
        probe += L'\\';
    probe += L"~write-check-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
             std::to_wstring(::GetCurrentThreadId()) + L".tmp";
    const HANDLE file = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE,
                                      nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return ::GetLastError();
    ::CloseHandle(file);
    return 0;
}

}  // namespace

VideosFolderCheck VideosFolderCheck::Run(const std::wstring& folder) {
    std::wstring path = folder;
    while (path.size() > 1 && IsSeparator(path.back()))
        path.pop_back();
    if (path.empty())
        return VideosFolderCheck(folder, NotCreated, ERROR_PATH_NOT_FOUND, std::wstring());
    if (path.size() > kMaxFolderLength)
        return VideosFolderCheck(folder, TooLong, 0, std::to_wstring(path.size()));
    const std::size_t start = FileSystem::PathNamesStart(path);
    const std::wstring forbidden = ForbiddenCharacters(path.substr(start));
    if (!forbidden.empty())
        return VideosFolderCheck(folder, InvalidCharacters, 0, forbidden);
    if (start == 2) {
        const wchar_t root[] = {path[0], L':', L'\\', 0};
        if (!std::iswalpha(path[0]) || ::GetDriveTypeW(root) == DRIVE_NO_ROOT_DIR)
            return VideosFolderCheck(folder, NoDrive, 0, std::wstring());
    }

    std::vector<std::wstring> made;
    for (const std::wstring& level : FileSystem::FolderLevels(path)) {
        const DWORD attributes = ::GetFileAttributesW(level.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (attributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            // A file stands where a folder should.
            RemoveMade(made);
            return VideosFolderCheck(folder, NotCreated, ERROR_FILE_EXISTS, std::wstring());
        }
        if (::CreateDirectoryW(level.c_str(), nullptr)) {
            made.push_back(level);
            continue;
        }
        const DWORD error = ::GetLastError();
        // Another thread or process made it meanwhile.
        const DWORD now = ::GetFileAttributesW(level.c_str());
        if (error == ERROR_ALREADY_EXISTS && now != INVALID_FILE_ATTRIBUTES && (now & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        RemoveMade(made);
        return VideosFolderCheck(folder, NotCreated, error, std::wstring());
    }
    if (const DWORD error = ProbeWrite(path)) {
        RemoveMade(made);
        return VideosFolderCheck(folder, NotWritable, error, std::wstring());
    }
    return VideosFolderCheck(folder, None, 0, std::wstring());
}

std::wstring VideosFolderCheck::Describe(int adviceStringId) const {
    using namespace AppResources;
    std::wstring problem;
    switch (m_problem) {
    case None: return std::wstring();
    case TooLong:
        problem = STLHelpers::FormatString2(Text(StringID_VideosFolderTooLong), Shown(m_folder), m_detail);
        break;
    case InvalidCharacters:
        problem = STLHelpers::FormatString2(Text(StringID_VideosFolderInvalidCharacters), Shown(m_folder),
                                            ShownCharacters(m_detail));
        break;
    case NoDrive: problem = STLHelpers::FormatString1(Text(StringID_VideosFolderNoDrive), Shown(m_folder)); break;
    case NotCreated:
        problem = STLHelpers::FormatString2(Text(StringID_VideosFolderNotCreated), Shown(m_folder), Reason(m_error));
        break;
    case NotWritable:
        problem = STLHelpers::FormatString2(Text(StringID_VideosFolderNotWritable), Shown(m_folder), Reason(m_error));
        break;
    }
    const std::wstring advice = Text(adviceStringId);
    return advice.empty() ? problem : problem + L"\n\n" + advice;
}
