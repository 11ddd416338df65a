#include "GarbageCollectorObject.h"

#include "CallLog.h"
#include "LastError.h"

#include <string>
#include <vector>

namespace Vantrel {
namespace {

bool IsEmpty(BSTR text) {
    return !text || !*text;
}

struct RootKey {
    const wchar_t* name;
    HKEY key;
};

const RootKey kRootKeys[] = {
    {L"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE}, {L"HKLM", HKEY_LOCAL_MACHINE},
    {L"HKEY_CURRENT_USER", HKEY_CURRENT_USER},   {L"HKCU", HKEY_CURRENT_USER},
    {L"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},   {L"HKCR", HKEY_CLASSES_ROOT},
    {L"HKEY_USERS", HKEY_USERS},                 {L"HKU", HKEY_USERS},
    {L"HKEY_CURRENT_CONFIG", HKEY_CURRENT_CONFIG},
};

// Splits "ROOT\sub\key" into the root key and the sub-key path.
bool SplitKeyPath(const std::wstring& path, HKEY& root, std::wstring& subKey) {
    const size_t slash = path.find(L'\\');
    const std::wstring rootName = path.substr(0, slash);
    for (const RootKey& candidate : kRootKeys) {
        if (CompareStringOrdinal(rootName.c_str(), -1, candidate.name, -1, TRUE) == CSTR_EQUAL) {
            root = candidate.key;
            subKey = slash == std::wstring::npos ? std::wstring() : path.substr(slash + 1);
            return true;
        }
    }
    return false;
}

}  // namespace

HRESULT GarbageCollectorObject::Reserved7() {
    LogCall(L"Reserved7", {});
    return E_NOTIMPL;
}

HRESULT GarbageCollectorObject::MoveFileItem(BSTR from, BSTR to, LONG random) {
    LogCall(L"MoveFile", {BstrText(from), BstrText(to), std::to_wstring(random)});
    if (IsEmpty(from) || IsEmpty(to))
        return E_INVALIDARG;
    return MoveFileW(from, to) ? S_OK : LastErrorResult();
}

HRESULT GarbageCollectorObject::DeleteFileItem(BSTR path, LONG random) {
    LogCall(L"DeleteFile", {BstrText(path), std::to_wstring(random)});
    if (IsEmpty(path))
        return E_INVALIDARG;
    return DeleteFileW(path) ? S_OK : LastErrorResult();
}

HRESULT GarbageCollectorObject::CreateFolder(BSTR path) {
    LogCall(L"CreateFolder", {BstrText(path)});
    if (IsEmpty(path))
        return E_INVALIDARG;
    return CreateDirectoryW(path, nullptr) ? S_OK : LastErrorResult();
}

HRESULT GarbageCollectorObject::PathOperation11(BSTR path) {
    LogCall(L"PathOperation11", {BstrText(path)});
    if (IsEmpty(path))
        return E_INVALIDARG;
    return GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES ? S_OK : LastErrorResult();
}

HRESULT GarbageCollectorObject::PathExists(BSTR path, LONG random) {
    LogCall(L"PathExists", {BstrText(path), std::to_wstring(random)});
    if (IsEmpty(path))
        return E_INVALIDARG;
    const DWORD attributes = GetFileAttributesW(path);
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? S_FALSE : S_OK;
    const DWORD error = GetLastError();
    // A missing folder on the way is as missing as the item itself.
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
        return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT GarbageCollectorObject::ReadRegistryValue(BSTR key, BSTR valueName, BSTR* value) {
    LogCall(L"ReadRegistryValue", {BstrText(key), BstrText(valueName)});
    if (!value)
        return E_POINTER;
    *value = nullptr;
    HKEY root = nullptr;
    std::wstring subKey;
    if (IsEmpty(key) || !SplitKeyPath(BstrText(key), root, subKey))
        return E_INVALIDARG;
    HKEY opened = nullptr;
    LSTATUS status = RegOpenKeyExW(root, subKey.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, &opened);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    const std::wstring name = BstrText(valueName);
    DWORD size = 0;
    status = RegGetValueW(opened, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size);
    std::vector<wchar_t> buffer;
    // The value may grow between the two reads.
    while (status == ERROR_SUCCESS || status == ERROR_MORE_DATA) {
        buffer.assign(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        status = RegGetValueW(opened, nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
        if (status == ERROR_SUCCESS)
            break;
    }
    RegCloseKey(opened);
    if (status != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(status);
    *value = SysAllocString(buffer.data());
    return *value ? S_OK : E_OUTOFMEMORY;
}

}  // namespace Vantrel
