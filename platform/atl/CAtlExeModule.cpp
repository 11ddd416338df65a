#include "atlexemodule.h"

#include <cwchar>

namespace ATL {

namespace {

std::wstring ClassKeyPath(REFCLSID clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

std::wstring ModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

// The executable's own type library: resource TYPELIB 1, as LoadTypeLibEx
// finds it when given the executable's path.
bool HasEmbeddedTypeLibrary() {
    return FindResourceW(nullptr, MAKEINTRESOURCEW(1), L"TYPELIB") != nullptr;
}

HRESULT RegisterTypeLibrary(const std::wstring& modulePath) {
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_REGISTER, &library);
    if (library)
        library->Release();
    return hr;
}

bool IsTypeLibraryRegistered(const TLIBATTR& attributes) {
    wchar_t guid[40] = {};
    StringFromGUID2(attributes.guid, guid, 40);
    // The version's key is written in hexadecimal ("1.a").
    wchar_t version[16] = {};
    swprintf(version, 16, L"%x.%x", attributes.wMajorVerNum, attributes.wMinorVerNum);
    const std::wstring versionKey = std::wstring(L"TypeLib\\") + guid + L"\\" + version;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, versionKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

HRESULT UnregisterTypeLibrary(const std::wstring& modulePath) {
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &library);
    if (FAILED(hr))
        return hr;
    TLIBATTR* attributes = nullptr;
    hr = library->GetLibAttr(&attributes);
    if (SUCCEEDED(hr)) {
        // A library that is not registered counts as removed (UnRegisterTypeLib
        // would call that an invalid argument).
        if (IsTypeLibraryRegistered(*attributes))
            hr = UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                                   attributes->lcid, attributes->syskind);
        library->ReleaseTLibAttr(attributes);
    }
    library->Release();
    return hr;
}

LSTATUS SetDefaultValue(HKEY root, const std::wstring& subKey, const std::wstring& value) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, subKey.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status;
}

}  // namespace

CAtlExeModule::~CAtlExeModule() {
    RevokeClassObjects();
    for (ClassEntry& entry : m_classes)
        entry.factory->Release();
}

HRESULT CAtlExeModule::AddClassObject(REFCLSID clsid, IClassFactory* factory, LPCWSTR description) {
    if (!factory)
        return E_INVALIDARG;
    for (const ClassEntry& entry : m_classes) {
        if (IsEqualCLSID(entry.clsid, clsid))
            return E_INVALIDARG;
    }
    factory->AddRef();
    m_classes.push_back(ClassEntry{clsid, factory, description ? description : L"", 0});
    return S_OK;
}

HRESULT CAtlExeModule::RegisterClassObjects(DWORD classContext, DWORD flags) {
    std::vector<ClassEntry*> registeredNow;
    for (ClassEntry& entry : m_classes) {
        if (entry.cookie)
            continue;
        DWORD cookie = 0;
        HRESULT hr = CoRegisterClassObject(entry.clsid, entry.factory, classContext, flags, &cookie);
        if (FAILED(hr)) {
            for (ClassEntry* done : registeredNow) {
                CoRevokeClassObject(done->cookie);
                done->cookie = 0;
            }
            return hr;
        }
        entry.cookie = cookie;
        registeredNow.push_back(&entry);
    }
    return S_OK;
}

HRESULT CAtlExeModule::RevokeClassObjects() {
    HRESULT result = S_OK;
    for (ClassEntry& entry : m_classes) {
        if (!entry.cookie)
            continue;
        HRESULT hr = CoRevokeClassObject(entry.cookie);
        if (FAILED(hr) && SUCCEEDED(result))
            result = hr;
        entry.cookie = 0;
    }
    return result;
}

bool CAtlExeModule::Selected(const ClassEntry& entry, const CLSID* clsid) const {
    return !clsid || IsEqualCLSID(entry.clsid, *clsid);
}

HRESULT CAtlExeModule::RegisterServer(BOOL registerTypeLibrary, const CLSID* clsid) {
    const std::wstring modulePath = ModulePath();
    if (modulePath.empty())
        return HRESULT_FROM_WIN32(GetLastError());
    const std::wstring server = L"\"" + modulePath + L"\"";
    for (const ClassEntry& entry : m_classes) {
        if (!Selected(entry, clsid))
            continue;
        const std::wstring classKey = ClassKeyPath(entry.clsid);
        LSTATUS status = SetDefaultValue(HKEY_CLASSES_ROOT, classKey, entry.description);
        if (status == ERROR_SUCCESS)
            status = SetDefaultValue(HKEY_CLASSES_ROOT, classKey + L"\\LocalServer32", server);
        if (status != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(status);
    }
    if (registerTypeLibrary && HasEmbeddedTypeLibrary())
        return RegisterTypeLibrary(modulePath);
    return S_OK;
}

HRESULT CAtlExeModule::UnregisterServer(BOOL unregisterTypeLibrary, const CLSID* clsid) {
    for (const ClassEntry& entry : m_classes) {
        if (!Selected(entry, clsid))
            continue;
        LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(entry.clsid).c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return HRESULT_FROM_WIN32(status);
    }
    if (unregisterTypeLibrary && HasEmbeddedTypeLibrary()) {
        const std::wstring modulePath = ModulePath();
        if (modulePath.empty())
            return HRESULT_FROM_WIN32(GetLastError());
        return UnregisterTypeLibrary(modulePath);
    }
    return S_OK;
}

LONG CAtlExeModule::Lock() { return InterlockedIncrement(&m_lockCount); }

LONG CAtlExeModule::Unlock() { return InterlockedDecrement(&m_lockCount); }

}  // namespace ATL
