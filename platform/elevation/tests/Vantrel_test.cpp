#include "platform/elevation/tests/ElevationServiceFixture.h"

#include "platform/elevation/Vantrel.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <oleauto.h>

#include <map>
#include <string>
#include <vector>

namespace {

using namespace ElevationTests;

std::wstring ReadClassesRootDefault(const std::wstring& path) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return L"<missing>";
    return buffer;
}

std::wstring GuidText(REFGUID guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

class ComApartment {
public:
    ComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(m_hr))
            CoUninitialize();
    }

private:
    HRESULT m_hr;
};

class Bstr {
public:
    explicit Bstr(const std::wstring& text) : m_text(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr() = default;
    ~Bstr() { SysFreeString(m_text); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    operator BSTR() const { return m_text; }
    BSTR* Out() { return &m_text; }
    std::wstring Text() const { return m_text ? std::wstring(m_text, SysStringLen(m_text)) : L"<null>"; }

private:
    BSTR m_text = nullptr;
};

// Vtable positions by method name, read from the vtable half of a dual interface.
std::map<std::wstring, int> MethodPositions(ITypeLib* library, REFIID iid) {
    std::map<std::wstring, int> positions;
    ITypeInfo* info = nullptr;
    if (FAILED(library->GetTypeInfoOfGuid(iid, &info)))
        return positions;
    TYPEATTR* attributes = nullptr;
    info->GetTypeAttr(&attributes);
    const bool isDispatchHalf = attributes->typekind == TKIND_DISPATCH;
    info->ReleaseTypeAttr(attributes);
    if (isDispatchHalf) {
        HREFTYPE vtableHalf = 0;
        ITypeInfo* vtableInfo = nullptr;
        if (SUCCEEDED(info->GetRefTypeOfImplType(-1, &vtableHalf)) &&
            SUCCEEDED(info->GetRefTypeInfo(vtableHalf, &vtableInfo))) {
            info->Release();
            info = vtableInfo;
        }
    }
    info->GetTypeAttr(&attributes);
    for (UINT i = 0; i < attributes->cFuncs; ++i) {
        FUNCDESC* function = nullptr;
        if (FAILED(info->GetFuncDesc(i, &function)))
            continue;
        BSTR name = nullptr;
        info->GetDocumentation(function->memid, &name, nullptr, nullptr, nullptr);
        positions[name ? name : L"?"] = function->oVft / static_cast<int>(sizeof(void*));
        SysFreeString(name);
        info->ReleaseFuncDesc(function);
    }
    info->ReleaseTypeAttr(attributes);
    info->Release();
    return positions;
}

TEST(VantrelTypeLibrary, MethodsSitAtTheirPositionsAndBothInterfacesAreDual) {
    ITypeLib* library = nullptr;
    ASSERT_EQ(S_OK, LoadTypeLibEx(BuiltServicePath().c_str(), REGKIND_NONE, &library));
    struct Case {
        const IID* iid;
        const wchar_t* method;
        int position;
    } cases[] = {
        {&IID_IGarbageCollector, L"MoveFileItem", 8},   {&IID_IGarbageCollector, L"DeleteFileItem", 9},
        {&IID_IGarbageCollector, L"CreateFolder", 10},  {&IID_IGarbageCollector, L"PathOperation11", 11},
        {&IID_IGarbageCollector, L"PathExists", 12},    {&IID_IGarbageCollector, L"ReadRegistryValue", 13},
        {&IID_IConsoleApp, L"SetPath", 8},              {&IID_IConsoleApp, L"SetParameters", 10},
        {&IID_IConsoleApp, L"GetFlag", 11},             {&IID_IConsoleApp, L"GetNumber", 12},
        {&IID_IConsoleApp, L"Start", 13},               {&IID_IConsoleApp, L"SendValue14", 14},
        {&IID_IConsoleApp, L"SendValue15", 15},         {&IID_IConsoleApp, L"Signal16", 16},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.method);
        const std::map<std::wstring, int> positions = MethodPositions(library, *c.iid);
        const auto found = positions.find(c.method);
        ASSERT_NE(found, positions.end());
        EXPECT_EQ(c.position, found->second);
    }
    for (const IID* iid : {&IID_IGarbageCollector, &IID_IConsoleApp}) {
        ITypeInfo* info = nullptr;
        ASSERT_EQ(S_OK, library->GetTypeInfoOfGuid(*iid, &info));
        TYPEATTR* attributes = nullptr;
        info->GetTypeAttr(&attributes);
        EXPECT_TRUE(attributes->wTypeFlags & TYPEFLAG_FDUAL);
        info->ReleaseTypeAttr(attributes);
        info->Release();
    }
    library->Release();
}

TEST(VantrelCommandLine, ServiceAndUnregisterWriteAndRemoveTheRegistration) {
    InstalledService service;
    const std::wstring garbageCollector = ClassKeyPath(CLSID_GarbageCollector);
    const std::wstring consoleApp = ClassKeyPath(CLSID_ConsoleApp);
    const std::wstring typeLibrary = L"TypeLib\\" + GuidText(LIBID_VantrelLib);

    ASSERT_EQ(0, RunInstalledService(L"/Unregister"));
    EXPECT_FALSE(ClassesRootKeyExists(garbageCollector));
    EXPECT_FALSE(ClassesRootKeyExists(consoleApp));
    EXPECT_FALSE(ClassesRootKeyExists(typeLibrary));
    EXPECT_EQ(0, RunInstalledService(L"/Unregister")) << "nothing left to remove is no failure";

    ASSERT_EQ(0, RunInstalledService(L"/Service"));
    const std::wstring quoted = L"\"" + InstalledServicePath() + L"\"";
    EXPECT_EQ(quoted, ReadClassesRootDefault(garbageCollector + L"\\LocalServer32"));
    EXPECT_EQ(quoted, ReadClassesRootDefault(consoleApp + L"\\LocalServer32"));
    EXPECT_TRUE(ClassesRootKeyExists(typeLibrary + L"\\1.0"));
    // The interfaces marshal through the type library.
    EXPECT_EQ(GuidText(LIBID_VantrelLib),
              ReadClassesRootDefault(L"Interface\\" + GuidText(IID_IGarbageCollector) + L"\\TypeLib"));
    EXPECT_EQ(GuidText(LIBID_VantrelLib),
              ReadClassesRootDefault(L"Interface\\" + GuidText(IID_IConsoleApp) + L"\\TypeLib"));

    EXPECT_EQ(2, RunInstalledService(L"/Install"));
    EXPECT_EQ(2, RunInstalledService(L""));
}

std::vector<std::vector<std::wstring>> ReadCallLog() {
    std::vector<std::vector<std::wstring>> lines;
    const std::string bytes = Testing::ReadFileBytes(CallLogPath());
    std::wstring text(bytes.size(), L'\0');
    text.resize(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, bytes.data(), static_cast<int>(bytes.size()),
                                                        &text[0], static_cast<int>(text.size()))));
    size_t start = 0;
    for (size_t end = text.find(L"\r\n"); end != std::wstring::npos; end = text.find(L"\r\n", start)) {
        std::vector<std::wstring> fields;
        const std::wstring line = text.substr(start, end - start);
        size_t from = 0;
        for (size_t tab = line.find(L'\t'); tab != std::wstring::npos; tab = line.find(L'\t', from)) {
            fields.push_back(line.substr(from, tab - from));
            from = tab + 1;
        }
        fields.push_back(line.substr(from));
        lines.push_back(fields);
        start = end + 2;
    }
    return lines;
}

class ServedGarbageCollector : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_GarbageCollector, nullptr, CLSCTX_LOCAL_SERVER, IID_IGarbageCollector,
                                         reinterpret_cast<void**>(&m_service)));
    }
    void TearDown() override {
        if (m_service)
            m_service->Release();
        m_service = nullptr;
    }

    InstalledService m_installed;
    ComApartment m_apartment;
    Testing::TempFolder m_folder;
    IGarbageCollector* m_service = nullptr;
};

TEST_F(ServedGarbageCollector, FileAndFolderWorkIsDoneInTheServersProcess) {
    const std::wstring file = m_folder.WriteFile(L"a.txt", "a");
    const std::wstring folder = m_folder.MakeFolder(L"sub");
    struct Case {
        const char* name;
        HRESULT (*call)(IGarbageCollector*, const std::wstring&, const std::wstring&);
        std::wstring first, second;
        HRESULT expected;
    } cases[] = {
        {"a file exists", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathExists(Bstr(p), 7); }, file, L"", S_OK},
        {"a folder exists", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathExists(Bstr(p), 7); }, folder, L"", S_FALSE},
        {"a missing path", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathExists(Bstr(p), 7); }, m_folder / L"none", L"", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"a path in a missing folder", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathExists(Bstr(p), 7); }, m_folder / L"none\\x", L"", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"path operation on an existing path", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathOperation11(Bstr(p)); }, folder, L"", S_OK},
        {"path operation on a missing path", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathOperation11(Bstr(p)); }, m_folder / L"none", L"", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"a new folder", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->CreateFolder(Bstr(p)); }, m_folder / L"made", L"", S_OK},
        {"a folder that exists", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->CreateFolder(Bstr(p)); }, folder, L"", HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS)},
        {"a move", [](IGarbageCollector* s, const std::wstring& a, const std::wstring& b) {
             return s->MoveFileItem(Bstr(a), Bstr(b), 9); }, file, m_folder / L"b.txt", S_OK},
        {"a move of a missing file", [](IGarbageCollector* s, const std::wstring& a, const std::wstring& b) {
             return s->MoveFileItem(Bstr(a), Bstr(b), 9); }, file, m_folder / L"c.txt", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"a delete", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->DeleteFileItem(Bstr(p), 11); }, m_folder / L"b.txt", L"", S_OK},
        {"a delete of a missing file", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->DeleteFileItem(Bstr(p), 11); }, m_folder / L"b.txt", L"", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND)},
        {"an empty path", [](IGarbageCollector* s, const std::wstring& p, const std::wstring&) {
             return s->PathExists(Bstr(p), 7); }, L"", L"", E_INVALIDARG},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, c.call(m_service, c.first, c.second));
    }
    EXPECT_TRUE(Testing::PathExists(m_folder / L"made"));
    EXPECT_FALSE(Testing::PathExists(file));
    EXPECT_FALSE(Testing::PathExists(m_folder / L"b.txt"));

    const std::vector<std::vector<std::wstring>> calls = ReadCallLog();
    ASSERT_EQ(std::size(cases), calls.size());
    EXPECT_NE(std::to_wstring(GetCurrentProcessId()), calls[0][0]);
    EXPECT_EQ((std::vector<std::wstring>{calls[0][0], L"PathExists", file, L"7"}), calls[0]);
    EXPECT_EQ((std::vector<std::wstring>{calls[0][0], L"MoveFile", file, m_folder / L"b.txt", L"9"}), calls[8]);
    EXPECT_EQ((std::vector<std::wstring>{calls[0][0], L"DeleteFile", m_folder / L"b.txt", L"11"}), calls[10]);
}

TEST_F(ServedGarbageCollector, ReadsStringValuesInThe32BitView) {
    const std::wstring subKey = L"Software\\Brunlow Tests\\" + Testing::NewGuidText();
    HKEY key = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), 0, nullptr, 0,
                                             KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr, &key, nullptr));
    const auto setString = [&](const wchar_t* name, const std::wstring& value) {
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    };
    setString(L"Name", L"value \x00e9");
    setString(nullptr, L"default");
    const DWORD number = 5;
    RegSetValueExW(key, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);

    struct Case {
        std::wstring key;
        const wchar_t* name;
        HRESULT expected;
        const wchar_t* value;
    } cases[] = {
        {L"HKEY_LOCAL_MACHINE\\" + subKey, L"Name", S_OK, L"value \x00e9"},
        {L"HKEY_LOCAL_MACHINE\\" + subKey, L"", S_OK, L"default"},
        {L"HKEY_LOCAL_MACHINE\\" + subKey, L"Missing", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"<null>"},
        {L"HKEY_LOCAL_MACHINE\\" + subKey, L"Number", HRESULT_FROM_WIN32(ERROR_UNSUPPORTED_TYPE), L"<null>"},
        {L"HKEY_LOCAL_MACHINE\\" + subKey + L"\\None", L"Name", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"<null>"},
        {L"HKEY_NOWHERE\\" + subKey, L"Name", E_INVALIDARG, L"<null>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.key << " " << c.name);
        Bstr value;
        EXPECT_EQ(c.expected, m_service->ReadRegistryValue(Bstr(c.key), Bstr(c.name), value.Out()));
        EXPECT_EQ(c.value, value.Text());
    }

    // The same through IDispatch, which the dual interface serves from the type library.
    IDispatch* dispatch = nullptr;
    ASSERT_EQ(S_OK, m_service->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch)));
    LPOLESTR name = const_cast<LPOLESTR>(L"ReadRegistryValue");
    DISPID id = 0;
    ASSERT_EQ(S_OK, dispatch->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id));
    VARIANT arguments[2];  // in reverse order
    arguments[1].vt = VT_BSTR;
    arguments[1].bstrVal = SysAllocString((L"HKEY_LOCAL_MACHINE\\" + subKey).c_str());
    arguments[0].vt = VT_BSTR;
    arguments[0].bstrVal = SysAllocString(L"Name");
    DISPPARAMS parameters = {arguments, nullptr, 2, 0};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(S_OK, dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result,
                                     nullptr, nullptr));
    EXPECT_EQ(VT_BSTR, result.vt);
    EXPECT_EQ(std::wstring(L"value \x00e9"), result.vt == VT_BSTR ? result.bstrVal : L"");
    VariantClear(&result);
    VariantClear(&arguments[0]);
    VariantClear(&arguments[1]);
    dispatch->Release();
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, subKey.c_str(), KEY_WOW64_32KEY, 0);
}

TEST(VantrelServer, ServesConsoleAppAndEndsAfterTheLastRelease) {
    InstalledService installed;
    {
        ComApartment apartment;
        IConsoleApp* application = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ConsoleApp, nullptr, CLSCTX_LOCAL_SERVER, IID_IConsoleApp,
                                         reinterpret_cast<void**>(&application)));
        EXPECT_EQ(S_OK, application->SetPath(Bstr(L"C:\\tool.exe")));
        EXPECT_EQ(S_OK, application->SetParameters(Bstr(L"-x")));
        EXPECT_EQ(1, CountServiceProcesses());
        application->Release();
    }
    EXPECT_TRUE(WaitForNoServiceProcess(5000));
    const std::vector<std::vector<std::wstring>> calls = ReadCallLog();
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(L"ConsoleApp.SetPath", calls[0].at(1));
    EXPECT_EQ(L"C:\\tool.exe", calls[0].at(2));
}

// A client that took the class object before the server went idle creates
// its object with it later, and the server serves it instead of having ended
// meanwhile; it ends once that client is done.
TEST(VantrelServer, AClientHoldingTheClassObjectIsServedAfterTheIdleGrace) {
    InstalledService installed;
    {
        ComApartment apartment;
        IGarbageCollector* first = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_GarbageCollector, nullptr, CLSCTX_LOCAL_SERVER, IID_IGarbageCollector,
                                         reinterpret_cast<void**>(&first)));
        IClassFactory* factory = nullptr;
        EXPECT_EQ(S_OK, CoGetClassObject(CLSID_GarbageCollector, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                         reinterpret_cast<void**>(&factory)));
        first->Release();
        Sleep(3000);  // well past the grace after the last release
        ASSERT_TRUE(factory);
        IGarbageCollector* second = nullptr;
        EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IGarbageCollector, reinterpret_cast<void**>(&second)));
        factory->Release();
        if (second) {
            EXPECT_EQ(S_FALSE, second->PathExists(Bstr(L"C:\\windows"), 7));
            second->Release();
        }
    }
    EXPECT_TRUE(WaitForNoServiceProcess(10000));
}

// Without a started application the calls that need one fail; a missing
// program fails to start; a running one has no exit code yet.
TEST(VantrelServer, ConsoleAppAnswersBeforeAndWhileTheApplicationRuns) {
    InstalledService installed;
    Testing::TempFolder folder;
    ComApartment apartment;
    IConsoleApp* application = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ConsoleApp, nullptr, CLSCTX_LOCAL_SERVER, IID_IConsoleApp,
                                     reinterpret_cast<void**>(&application)));
    LONG number = 0;
    VARIANT_BOOL flag = VARIANT_TRUE;
    EXPECT_EQ(E_INVALIDARG, application->Start()) << "no path";
    EXPECT_EQ(E_UNEXPECTED, application->GetNumber(&number));
    EXPECT_EQ(E_UNEXPECTED, application->SendValue14(1));
    EXPECT_EQ(E_UNEXPECTED, application->Signal16());
    EXPECT_EQ(S_OK, application->GetFlag(&flag));
    EXPECT_EQ(VARIANT_FALSE, flag);

    EXPECT_EQ(S_OK, application->SetPath(Bstr(folder / L"missing.exe")));
    EXPECT_TRUE(FAILED(application->Start()));

    const std::wstring helper = BuiltServicePath().substr(0, BuiltServicePath().rfind(L'\\') + 1) +
                                L"VantrelConsoleHelper.exe";
    EXPECT_EQ(S_OK, application->SetPath(Bstr(helper)));
    EXPECT_EQ(S_OK, application->SetParameters(Bstr(L"\"" + (folder / L"record.txt") + L"\"")));
    ASSERT_EQ(S_OK, application->Start());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_BUSY), application->Start()) << "one run at a time";
    EXPECT_EQ(E_PENDING, application->GetNumber(&number));
    EXPECT_EQ(S_OK, application->SendValue15(3));
    // Releasing the object ends the application's input: it ends on its own.
    application->Release();
    const DWORD start = GetTickCount();
    std::string record;
    while (record.find("line 15 3\n") == std::string::npos && GetTickCount() - start < 30000) {
        Sleep(100);
        record = Testing::ReadFileBytes(folder / L"record.txt");
    }
    EXPECT_NE(std::string::npos, record.find("line 15 3\n")) << record;
    EXPECT_TRUE(WaitForNoServiceProcess(10000));
}

}  // namespace

