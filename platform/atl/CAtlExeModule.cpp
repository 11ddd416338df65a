#include "atlexemodule.h"

namespace ATL {

namespace {

std::wstring ClassKeyPath(REFCLSID clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

std::wstring QuotedModulePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0)
            return {};
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return L"\"" + path + L"\"";
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

HRESULT CAtlExeModule::RegisterServer(BOOL /*registerTypeLibrary*/, const CLSID* clsid) {
    const std::wstring server = QuotedModulePath();
    if (server.empty())
        return HRESULT_FROM_WIN32(GetLastError());
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
    return S_OK;
}

HRESULT CAtlExeModule::UnregisterServer(BOOL /*unregisterTypeLibrary*/, const CLSID* clsid) {
    for (const ClassEntry& entry : m_classes) {
        if (!Selected(entry, clsid))
            continue;
        LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKeyPath(entry.clsid).c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND)
            return HRESULT_FROM_WIN32(status);
    }
    return S_OK;
}

LONG CAtlExeModule::Lock() { return InterlockedIncrement(&m_lockCount); }

LONG CAtlExeModule::Unlock() { return InterlockedDecrement(&m_lockCount); }

}  // namespace ATL
