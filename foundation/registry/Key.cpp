#include "foundation/registry/Key.h"

#include <vector>

namespace Registry {
namespace {

// The largest string value read, in characters with its terminating zero.
const DWORD kStringBufferCharacters = 32768;

}  // namespace

Key::Key(RootKey root, const wlitestring& path) : m_root(root), m_path(path.str()) {}

Key::~Key() {
    CloseHandles();
}

void Key::SetRoot(RootKey root) {
    m_root = root;
    CloseHandles();
}

void Key::SetPath(const wlitestring& path) {
    m_path = path.str();
    CloseHandles();
}

void Key::SetFullPath(const wlitestring& text) {
    const int backslash = text.find(L"\\");
    if (backslash == wlitestring::npos) {
        SetRoot(ParseRootKeyLongName(text));
        SetPath(wlitestring());
        return;
    }
    SetRoot(ParseRootKeyLongName(wlitestring(text.data(), backslash)));
    SetPath(wlitestring(text.data() + backslash + 1, text.length() - backslash - 1));
}

DWORD Key::GetDWORD(const wlitestring& name, DWORD defaultValue, bool ownView) {
    const KeyHandle& handle = ReadHandle(ownView);
    DWORD value = 0;
    if (!handle.IsOpen() || handle.QueryDWORD(name, value) != ERROR_SUCCESS)
        return defaultValue;
    return value;
}

std::wstring Key::GetString(const wlitestring& name, const wlitestring& defaultValue, bool ownView) {
    const KeyHandle& handle = ReadHandle(ownView);
    if (!handle.IsOpen())
        return defaultValue.str();
    std::vector<wchar_t> buffer(kStringBufferCharacters, L'\0');
    if (handle.QueryString(name, buffer.data(), kStringBufferCharacters) != ERROR_SUCCESS)
        return defaultValue.str();
    return std::wstring(buffer.data());
}

bool Key::SetDWORD(const wlitestring& name, DWORD value) {
    const KeyHandle& handle = WriteHandle();
    return handle.IsOpen() && handle.SetDWORD(name, value) == ERROR_SUCCESS;
}

KeyHandle Key::_OpenHandle(int mode, REGSAM access, bool ownView) const {
    const std::wstring path = m_path;
    // Never the root itself: an empty path would make writes land in it.
    if (m_root == 0 || path.empty())
        return KeyHandle();
    LONG status = ERROR_SUCCESS;
    switch (mode) {
    case OpenExisting:
        return KeyHandle::Open(ToHandle(m_root), path.c_str(), WithView(access, ownView), status);
    case CreateMissing:
        return KeyHandle::Create(ToHandle(m_root), path.c_str(), 0, WithView(access, ownView), status);
    default:
        return KeyHandle();
    }
}

const KeyHandle& Key::ReadHandle(bool ownView) {
    KeyHandle& slot = ownView ? m_ownViewRead : m_wideViewRead;
    if (!slot.IsOpen())
        slot = _OpenHandle(OpenExisting, KEY_READ, ownView);
    return slot;
}

const KeyHandle& Key::WriteHandle() {
    if (!m_ownViewWrite.IsOpen())
        m_ownViewWrite = _OpenHandle(CreateMissing, KEY_WRITE, true);
    return m_ownViewWrite;
}

void Key::CloseHandles() {
    m_ownViewRead.Close();
    m_wideViewRead.Close();
    m_ownViewWrite.Close();
}

}  // namespace Registry
