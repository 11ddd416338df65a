#include "atlexemodule.h"

#include "CountedFactory.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A fresh class id per test, so that nothing a test registers can meet a real class.
CLSID NewClassId() {
    CLSID clsid;
    CoCreateGuid(&clsid);
    return clsid;
}

std::wstring ClassKey(const CLSID& clsid) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

// The default value of a key below HKEY_CLASSES_ROOT; nullptr-like empty when missing.
bool ReadDefault(const std::wstring& path, std::wstring& value) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CLASSES_ROOT, path.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
        return false;
    value = buffer;
    return true;
}

class ComScope {
public:
    ComScope() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComScope() { CoUninitialize(); }
};

// Removes a class key even when a test failed half-way.
class ClassKeyCleanup {
public:
    explicit ClassKeyCleanup(const CLSID& clsid) : m_path(ClassKey(clsid)) {}
    ~ClassKeyCleanup() { RegDeleteTreeW(HKEY_CLASSES_ROOT, m_path.c_str()); }

private:
    std::wstring m_path;
};

TEST(CAtlExeModule, RegisterAndUnregisterRequestsWriteAndRemoveLocalServer32) {
    const CLSID first = NewClassId(), second = NewClassId();
    ClassKeyCleanup cleanFirst(first), cleanSecond(second);
    CountedFactory factoryA, factoryB;
    CAtlExeModule module;
    ASSERT_EQ(module.AddClassObject(first, &factoryA, L"First test class"), S_OK);
    ASSERT_EQ(module.AddClassObject(second, &factoryB, L"Second test class"), S_OK);
    EXPECT_EQ(module.AddClassObject(first, &factoryB, L"again"), E_INVALIDARG);

    ASSERT_EQ(module.RegisterServer(TRUE), S_OK);
    wchar_t exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring value;
    ASSERT_TRUE(ReadDefault(ClassKey(first) + L"\\LocalServer32", value));
    EXPECT_EQ(value, L"\"" + std::wstring(exe) + L"\"");
    ASSERT_TRUE(ReadDefault(ClassKey(second), value));
    EXPECT_EQ(value, L"Second test class");

    ASSERT_EQ(module.UnregisterServer(TRUE, &first), S_OK);
    EXPECT_FALSE(ReadDefault(ClassKey(first), value));
    EXPECT_TRUE(ReadDefault(ClassKey(second), value));
    ASSERT_EQ(module.UnregisterServer(TRUE), S_OK);
    EXPECT_FALSE(ReadDefault(ClassKey(second), value));
    EXPECT_EQ(module.UnregisterServer(TRUE), S_OK);  // nothing left to remove is no failure
}

TEST(CAtlExeModule, ClassObjectsAreServedWhileRegisteredAndRevokedAtExit) {
    ComScope com;
    const CLSID clsid = NewClassId();
    CountedFactory factory;
    {
        CAtlExeModule module;
        ASSERT_EQ(module.AddClassObject(clsid, &factory, L"Served class"), S_OK);
        ASSERT_EQ(module.RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE), S_OK);

        IClassFactory* served = nullptr;
        ASSERT_EQ(CoGetClassObject(clsid, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                                   reinterpret_cast<void**>(&served)),
                  S_OK);
        EXPECT_EQ(served, &factory);
        served->Release();
        EXPECT_EQ(module.RegisterClassObjects(CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE), S_OK);  // already done
    }
    // The module's end revoked the class object and gave back every reference.
    IClassFactory* served = nullptr;
    EXPECT_NE(CoGetClassObject(clsid, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&served)),
              S_OK);
    EXPECT_EQ(factory.References(), 1u);
}

TEST(CAtlExeModule, CountsLocks) {
    CAtlExeModule module;
    EXPECT_EQ(module.Lock(), 1);
    EXPECT_EQ(module.Lock(), 2);
    EXPECT_EQ(module.Unlock(), 1);
    EXPECT_EQ(module.GetLockCount(), 1);
}

}  // namespace
