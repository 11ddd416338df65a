#include "foundation/registry/KeyPath.h"

#include <vector>

namespace Registry {

KeyPath::KeyPath(const wlitestring& text) : m_path(text.str()), m_root(0), m_isOwnView(false), m_isVolatile(false) {}

KeyPath::KeyPath(RootKey root, const wlitestring& subPath)
    : m_root(root), m_isOwnView(false), m_isVolatile(false) {
    if (!subPath.empty())
        Append(subPath);
}

void KeyPath::Append(const wlitestring& text) {
    if (m_root == 0)
        AppendWithRoot(text);
    else
        AppendPart(text.str());
}

void KeyPath::AppendPart(const std::wstring& part) {
    if (m_path.IsEmpty())
        m_path.SetText(part);
    else
        m_path.Append(part);
}

void KeyPath::AppendWithRoot(const wlitestring& text) {
    const KeyPath parsed(text);
    std::vector<std::wstring> parts;
    parsed.m_path.Split(parts);
    std::size_t first = 0;
    int index = 0;
    if (!parts.empty() && ParseRootName(parts[0], index)) {
        m_root = GetRootValue(index);
        first = 1;
    }
    for (std::size_t i = first; i < parts.size(); ++i)
        AppendPart(parts[i]);
}

void KeyPath::Create(LONG& status) const {
    KeyHandle holder;
    _CreateKey(holder, status, 0, KEY_ALL_ACCESS);
}

void KeyPath::QueryDWORD(LONG& status, const wlitestring& name, DWORD& value) const {
    KeyHandle holder;
    _OpenKey(holder, status, KEY_QUERY_VALUE);
    if (status == ERROR_SUCCESS)
        status = holder.QueryDWORD(name, value);
}

DWORD KeyPath::GetDWORD(const wlitestring& name, DWORD defaultValue) const {
    LONG status = ERROR_SUCCESS;
    DWORD value = 0;
    QueryDWORD(status, name, value);
    return status == ERROR_SUCCESS ? value : defaultValue;
}

void KeyPath::SetDWORD(LONG& status, const wlitestring& name, DWORD value) const {
    KeyHandle holder;
    _OpenKey(holder, status, KEY_SET_VALUE);
    if (status == ERROR_SUCCESS)
        status = holder.SetDWORD(name, value);
}

void KeyPath::_OpenKey(KeyHandle& holder, LONG& status, REGSAM access) const {
    holder = KeyHandle::Open(ToHandle(m_root), GetPath().c_str(), WithView(access, m_isOwnView), status);
}

void KeyPath::_CreateKey(KeyHandle& holder, LONG& status, DWORD options, REGSAM access) const {
    if (m_isVolatile)
        options |= REG_OPTION_VOLATILE;
    holder = KeyHandle::Create(ToHandle(m_root), GetPath().c_str(), options, WithView(access, m_isOwnView), status);
}

}  // namespace Registry
