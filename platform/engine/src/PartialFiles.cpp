#include "PartialFiles.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace KavennaEngine {
namespace PartialFiles {

const wchar_t kKeyPath[] = L"Software\\EngineKavenna\\Partial files";

namespace {

class Key {
public:
    explicit Key(bool create) {
        if (create)
            ::RegCreateKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &m_key,
                              nullptr);
        else
            ::RegOpenKeyExW(HKEY_CURRENT_USER, kKeyPath, 0, KEY_READ | KEY_WRITE, &m_key);
    }
    ~Key() {
        if (m_key)
            ::RegCloseKey(m_key);
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

unsigned long long CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// "<process id> <creation time>": a process id alone may be given again.
std::wstring ThisWriter() {
    static const std::wstring writer =
        std::to_wstring(::GetCurrentProcessId()) + L" " + std::to_wstring(CreationTime(::GetCurrentProcess()));
    return writer;
}

bool IsWriterAlive(const std::wstring& writer) {
    if (writer == ThisWriter())
        return true;
    const std::size_t space = writer.find(L' ');
    if (space == std::wstring::npos)
        return false;
    const DWORD id = static_cast<DWORD>(std::wcstoul(writer.c_str(), nullptr, 10));
    const HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!process)
        return false;
    DWORD code = 0;
    const bool alive = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE &&
                       std::to_wstring(CreationTime(process)) == writer.substr(space + 1);
    ::CloseHandle(process);
    return alive;
}

struct NoteEntry {
    std::wstring path;
    std::wstring writer;
};

std::vector<NoteEntry> ReadNotes(HKEY key) {
    std::vector<NoteEntry> notes;
    std::vector<wchar_t> name(32768);
    for (DWORD index = 0;; ++index) {
        wchar_t data[128] = {};
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataSize = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LSTATUS status = ::RegEnumValueW(key, index, name.data(), &nameLength, nullptr, &type,
                                               reinterpret_cast<BYTE*>(data), &dataSize);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        if (status != ERROR_SUCCESS)
            continue;
        notes.push_back({std::wstring(name.data(), nameLength), type == REG_SZ ? std::wstring(data) : std::wstring()});
    }
    return notes;
}

}  // namespace

void Note(const std::wstring& path) {
    Key key(true);
    const std::wstring writer = ThisWriter();
    if (key.Get())
        ::RegSetValueExW(key.Get(), path.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(writer.c_str()),
                         static_cast<DWORD>((writer.size() + 1) * sizeof(wchar_t)));
}

void Forget(const std::wstring& path) {
    Key key(false);
    if (key.Get())
        ::RegDeleteValueW(key.Get(), path.c_str());
}

void RemoveOrphans(const std::function<bool(const std::wstring& path)>& remove) {
    Key key(false);
    if (!key.Get())
        return;
    for (const NoteEntry& note : ReadNotes(key.Get())) {
        if (!IsWriterAlive(note.writer) && remove(note.path))
            ::RegDeleteValueW(key.Get(), note.path.c_str());
    }
}

}  // namespace PartialFiles
}  // namespace KavennaEngine
