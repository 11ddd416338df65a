#include "foundation/filesystem/File.h"

#include "foundation/errors/Checks.h"
#include "foundation/filesystem/FileNames.h"
#include "foundation/filesystem/ShellFileOperation.h"
#include "foundation/strings/OwnedWString.h"
#include "foundation/strings/StringConversions.h"
#include "foundation/system/AutoHandle.h"
#include "foundation/system/ShellExecute.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

namespace FileSystem {

namespace {

const BYTE kUtf16Mark[] = {0xFF, 0xFE};

}  // namespace

Folder File::GetFolder() const {
    return Folder(_GetFolderPart(m_path));
}

std::wstring File::GetFolderPath() const {
    return StripTrailingBackslash(_GetFolderPart(m_path));
}

std::wstring File::GetName() const {
    return StripTrailingBackslash(PathFindFileNameW(m_path.c_str()));
}

std::wstring File::GetExtension() const {
    const wchar_t* extension = PathFindExtensionW(m_path.c_str());
    return *extension == L'.' ? std::wstring(extension + 1) : std::wstring();
}

std::wstring File::GetTitle() const {
    const std::wstring name = GetName();
    return name.substr(0, PathFindExtensionW(name.c_str()) - name.c_str());
}

bool File::Exists() const {
    return PathFileExistsW(m_path.c_str()) != FALSE;
}

bool IsExistingFile(const wlitestring& path) {
    wlitestring::c_string_holder text;
    STLHelpers::ToOwnedWString(path, text);
    const DWORD attributes = GetFileAttributesW(text.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool File::HasAttributes(DWORD mask) const {
    const DWORD attributes = GetFileAttributesW(m_path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & mask) != 0;
}

ULONGLONG File::GetSize() const {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

PEFile File::GetVersionInfo() const {
    return PEFile(m_path);
}

std::wstring File::GetVersionString() const {
    std::wstring version = GetVersionInfo().GetFileVersion();
    std::replace(version.begin(), version.end(), L',', L'.');
    return version;
}

bool File::ShellOpen(const wlitestring& parameters, int showCommand) const {
    return System::ShellExecuteInstance(L"open", m_path, parameters, showCommand) > 32;
}

System::Process File::ShellExecuteProcess(const wlitestring& parameters, int showCommand) const {
    static_assert(sizeof(SHELLEXECUTEINFOW) == 60, "the 32-bit SHELLEXECUTEINFOW");
    wlitestring::c_string_holder parameterText(parameters);
    SHELLEXECUTEINFOW sei = {};
    sei.cbSize = sizeof sei;
    sei.fMask = SEE_MASK_NOCLOSEPROCESS;
    sei.lpVerb = L"open";
    sei.lpFile = m_path.c_str();
    sei.lpParameters = parameters.empty() ? nullptr : parameterText.c_str();
    sei.nShow = showCommand;
    if (!System::ShellExecuteCall(&sei)) {
        const ErrorHandling::ErrorCode code = ErrorHandling::ErrorCode::FromLastError();
        if (code.IsFailure())
            Reporting::GetModuleReportingObject().ReportError("((::ShellExecuteExW(&sei)))", &code);
        return System::Process(0, nullptr, nullptr);
    }
    return System::Process(sei.hProcess);
}

bool File::MoveTo(const wlitestring& destination) const {
    return _ShellFileOperation(FO_MOVE, m_path, destination, false);
}

bool File::Delete(bool allowUndo) const {
    return _ShellFileOperation(FO_DELETE, m_path, wlitestring(), allowUndo);
}

bool File::ReadAll(std::vector<BYTE>& bytes) const {
    bytes.clear();
    STLHelpers::AutoHandle file(CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid())
        return false;
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(file.Get(), &size))
        return false;
    const ULONGLONG limit = std::min<ULONGLONG>(bytes.max_size(), MAXDWORD);
    if (static_cast<ULONGLONG>(size.QuadPart) > limit) {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr) ||
            read == 0) {
            if (read == 0)
                SetLastError(ERROR_HANDLE_EOF);
            bytes.clear();
            return false;
        }
        done += read;
    }
    return true;
}

bool File::ReadText(std::wstring& text, bool unicode) const {
    std::vector<BYTE> bytes;
    if (!ReadAll(bytes))
        return false;
    if (unicode) {
        size_t start = 0;
        if (bytes.size() >= 2 && bytes[0] == kUtf16Mark[0] && bytes[1] == kUtf16Mark[1])
            start = 2;
        text.resize((bytes.size() - start) / sizeof(wchar_t));
        if (!text.empty())
            std::memcpy(&text[0], bytes.data() + start, text.size() * sizeof(wchar_t));
    } else {
        const BYTE* end = std::find(bytes.data(), bytes.data() + bytes.size(), 0);
        text = STLHelpers::Utf8ToWide(
            litestring(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(end - bytes.data())));
    }
    return true;
}

std::wstring File::GetText(bool unicode) const {
    std::wstring text;
    if (!ReadText(text, unicode))
        text.clear();
    return text;
}

bool File::WriteAll(const void* bytes, DWORD count, bool append) const {
    const DWORD attributes = GetFileAttributesW(m_path.c_str());
    const bool wasReadOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (wasReadOnly)
        SetFileAttributesW(m_path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
    bool written = false;
    {
        STLHelpers::AutoHandle file(CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr,
                                                append ? OPEN_ALWAYS : CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file.IsValid()) {
            LARGE_INTEGER zero = {};
            DWORD done = 0;
            written = (!append || SetFilePointerEx(file.Get(), zero, nullptr, FILE_END)) &&
                      (count == 0 || (WriteFile(file.Get(), bytes, count, &done, nullptr) && done == count));
        }
    }
    // Also when the open failed: the file keeps what it had, read-only bit included.
    if (wasReadOnly) {
        const DWORD lastError = GetLastError();
        SetFileAttributesW(m_path.c_str(), attributes);
        SetLastError(lastError);
    }
    return written;
}

bool File::WriteText(const wlitestring& text, bool append, bool unicode) const {
    if (!unicode) {
        const std::string utf8 = STLHelpers::WideToUtf8(text);
        return WriteAll(utf8.data(), static_cast<DWORD>(utf8.size()), append);
    }
    if (!append && !WriteAll(kUtf16Mark, sizeof kUtf16Mark, false))
        return false;
    const size_t length = static_cast<size_t>(text.length());
    if (length > MAXDWORD / sizeof(wchar_t))
        return false;
    return WriteAll(text.data(), static_cast<DWORD>(length * sizeof(wchar_t)), true);
}

bool File::ReplaceText(const STLHelpers::ReplacementPairs& pairs, const wlitestring& targetPath) const {
    std::wstring text;
    if (!ReadText(text, false))
        return false;
    STLHelpers::ReplaceAllPairs(text, pairs);
    const File target(targetPath.empty() ? wlitestring(m_path) : targetPath);
    return target.WriteText(text, false, false);
}

}  // namespace FileSystem
