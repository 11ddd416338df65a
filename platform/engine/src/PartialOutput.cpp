#include "PartialOutput.h"

#include "Engine.h"
#include "FailureTexts.h"
#include "FileNames.h"
#include "PartialFiles.h"

namespace KavennaEngine {

namespace {

// Numbered names tried before the folder counts as full of this name.
const int kMaxNumber = 9999;

struct NameSection {
    explicit NameSection(Engine& engine) : m_section(engine.NameLock()) { ::EnterCriticalSection(&m_section); }
    ~NameSection() { ::LeaveCriticalSection(&m_section); }
    CRITICAL_SECTION& m_section;
};

}  // namespace

bool PartialOutput::Open(const std::wstring& folder, const std::wstring& name, const std::wstring& replaceable,
                         std::wstring& failure) {
    Discard();
    m_folder = folder;
    m_replaceable = replaceable;
    if (!m_engine.EnsureFolder(folder, failure))
        return false;
    const std::wstring fitted = FitFileName(folder, name);
    if (fitted.empty()) {
        failure = FolderTooLongText(folder);
        return false;
    }
    m_name = fitted;
    NameSection lock(m_engine);
    for (int n = 1; n <= kMaxNumber; ++n) {
        const std::wstring candidate = folder + NumberedName(fitted, n);
        if (m_engine.IsNameTaken(candidate) || (!IsReplaceable(candidate) && m_engine.PathExists(candidate)))
            continue;
        const std::wstring part = candidate + L".part";
        // CREATE_NEW: a partial file of another process is never shared.
        m_file = ::CreateFileW(part.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        if (m_file == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;
            failure = WriteFailureText(error, folder);
            return false;
        }
        m_engine.TakeName(candidate);
        m_finalPath = candidate;
        m_partPath = part;
        PartialFiles::Note(part);
        return true;
    }
    failure = L"No free file name is left for \"" + fitted + L"\" in \"" + folder + L"\".";
    return false;
}

bool PartialOutput::Write(const char* data, DWORD size, DWORD& error) {
    DWORD written = 0;
    if (::WriteFile(m_file, data, size, &written, nullptr) && written == size)
        return true;
    error = ::GetLastError();
    if (error == ERROR_SUCCESS)
        error = ERROR_DISK_FULL;  // a short write without an error: no room left
    return false;
}

bool PartialOutput::Settle(std::wstring& finalPath, std::wstring& failure) {
    Close();
    {
        NameSection lock(m_engine);
        const std::wstring taken = m_finalPath;
        if (!IsReplaceable(taken) && m_engine.PathExists(taken)) {
            // Something else took the name while this run wrote.
            const std::wstring other = FreePath();
            if (other.empty()) {
                failure = L"No free file name is left in \"" + m_folder + L"\".";
                Discard();
                return false;
            }
            m_engine.TakeName(other);
            m_finalPath = other;
            m_engine.ReleaseName(taken);
        }
        if (IsReplaceable(m_finalPath) && m_engine.PathExists(m_finalPath))
            m_engine.DeleteFile(m_finalPath);
        if (!m_engine.MoveFile(m_partPath, m_finalPath) || !m_engine.PathExists(m_finalPath)) {
            failure = L"The finished file could not be named \"" + m_finalPath + L"\".";
            Discard();
            return false;
        }
    }
    PartialFiles::Forget(m_partPath);
    m_partPath.clear();
    finalPath = m_finalPath;
    m_engine.ReleaseName(m_finalPath);
    m_finalPath.clear();
    return true;
}

void PartialOutput::Discard() {
    Close();
    if (!m_partPath.empty()) {
        if (m_engine.DeleteFile(m_partPath) || !m_engine.PathExists(m_partPath))
            PartialFiles::Forget(m_partPath);
        m_partPath.clear();
    }
    if (!m_finalPath.empty()) {
        m_engine.ReleaseName(m_finalPath);
        m_finalPath.clear();
    }
}

void PartialOutput::Close() {
    if (m_file != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_file);
    m_file = INVALID_HANDLE_VALUE;
}

std::wstring PartialOutput::FreePath() {
    for (int n = 2; n <= kMaxNumber; ++n) {
        const std::wstring candidate = m_folder + NumberedName(m_name, n);
        if (!m_engine.IsNameTaken(candidate) && !m_engine.PathExists(candidate) &&
            !m_engine.PathExists(candidate + L".part"))
            return candidate;
    }
    return {};
}

bool PartialOutput::IsReplaceable(const std::wstring& path) const {
    return !m_replaceable.empty() &&
           ::CompareStringOrdinal(path.c_str(), -1, m_replaceable.c_str(), -1, TRUE) == CSTR_EQUAL;
}

}  // namespace KavennaEngine
