#pragma once
// KeyPath: a parsed registry key path with its root, opened anew for every
// call and closed before the call returns. By default keys are opened in the
// 64-bit view and created non-volatile. Results are Win32 status codes
// (0 success, 2 key or value missing, 13 wrong value type, 234 value too
// large). One thread at a time.
//
//   Registry::KeyPath key(0, L"HKCU\\Software\\Brunlow\\Statistics");
//   LONG status = 0;
//   key.Create(status);
//   key.SetDWORD(status, L"Shown", 3);
#include "foundation/filesystem/PathT.h"
#include "foundation/registry/KeyHandle.h"
#include "foundation/registry/RegPathConvention.h"
#include "foundation/registry/RootKeys.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace Registry {

typedef FileSystem::PathT<RegPathConvention> RegPath;

class KeyPath {
public:
    // Only a path, root unset; a leading root name stays part of the path.
    explicit KeyPath(const wlitestring& text);
    // With root 0 a leading root name of the sub-path ("HKCU\...", any case,
    // short or long) sets the root and is dropped from the path.
    KeyPath(RootKey root, const wlitestring& subPath);

    void Append(const wlitestring& text);

    RootKey GetRoot() const { return m_root; }
    const std::wstring& GetPath() const { return m_path.GetText(); }
    const RegPath& GetParsedPath() const { return m_path; }
    bool IsOwnView() const { return m_isOwnView; }
    void SetOwnView(bool isOwnView) { m_isOwnView = isOwnView; }
    bool IsVolatile() const { return m_isVolatile; }
    void SetVolatile(bool isVolatile) { m_isVolatile = isVolatile; }

    // Creates the key, or opens it when it exists.
    void Create(LONG& status) const;
    void QueryDWORD(LONG& status, const wlitestring& name, DWORD& value) const;
    DWORD GetDWORD(const wlitestring& name, DWORD defaultValue) const;
    // Writes into an existing key only; call Create first.
    void SetDWORD(LONG& status, const wlitestring& name, DWORD value) const;

private:
    void _OpenKey(KeyHandle& holder, LONG& status, REGSAM access) const;
    void _CreateKey(KeyHandle& holder, LONG& status, DWORD options, REGSAM access) const;
    void AppendPart(const std::wstring& part);
    void AppendWithRoot(const wlitestring& text);
    RegPath m_path;
    RootKey m_root;
    bool m_isOwnView;
    bool m_isVolatile;
};

}  // namespace Registry
