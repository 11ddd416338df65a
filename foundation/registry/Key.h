#pragma once
// Key: one registry key named by a root and a sub-key path, whose handles stay
// open between calls (a read handle per view and a write handle, each opened
// on first use). Reads fall back to the caller's default and writes answer
// false; nothing here throws for a registry failure. One thread at a time.
//
//   Registry::Key key(Registry::ToRootKey(HKEY_CURRENT_USER), L"Software\\Ruveziz\\Debugging\\LogImpl");
//   DWORD level = key.GetDWORD(L"Level", 7, true);
#include "foundation/registry/KeyHandle.h"
#include "foundation/registry/RootKeys.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace Registry {

class Key {
public:
    Key(RootKey root, const wlitestring& path);
    ~Key();
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;

    RootKey GetRoot() const { return m_root; }
    std::wstring GetPath() const { return m_path; }

    // Each closes the kept handles, so the next call opens the new key.
    void SetRoot(RootKey root);
    void SetPath(const wlitestring& path);
    // "HKEY_LOCAL_MACHINE\SOFTWARE\Classes": a long root name (short names give
    // root 0), a backslash, the sub-key path.
    void SetFullPath(const wlitestring& text);

    // ownView: the program's own registry view (for a 32-bit program on 64-bit
    // Windows the redirected 32-bit one); otherwise the 64-bit view. An empty
    // name is the key's default value.
    DWORD GetDWORD(const wlitestring& name, DWORD defaultValue, bool ownView);
    std::wstring GetString(const wlitestring& name, const wlitestring& defaultValue, bool ownView);
    // Creates the key when missing; always in the program's own view.
    bool SetDWORD(const wlitestring& name, DWORD value);

private:
    enum OpenMode { OpenExisting = 0, CreateMissing = 1 };

    KeyHandle _OpenHandle(int mode, REGSAM access, bool ownView) const;
    const KeyHandle& ReadHandle(bool ownView);
    const KeyHandle& WriteHandle();
    void CloseHandles();

    RootKey m_root;
    std::wstring m_path;
    KeyHandle m_ownViewRead;
    KeyHandle m_wideViewRead;
    KeyHandle m_ownViewWrite;
};

}  // namespace Registry
