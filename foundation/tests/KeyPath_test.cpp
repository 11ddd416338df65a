#include "foundation/registry/Key.h"
#include "foundation/registry/KeyPath.h"

#include "foundation/tests/RawRegistryValues.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

namespace {

using namespace Registry;
using namespace FoundationTests;

const RootKey kCurrentUser = 0x80000001;
const RootKey kLocalMachine = 0x80000002;

TEST(KeyPath, RootAndPathFromText) {
    struct Case {
        RootKey root;
        const wchar_t* subPath;
        RootKey expectedRoot;
        const wchar_t* expectedPath;
    } cases[] = {
        {0, L"HKCU\\Software\\Statistics", kCurrentUser, L"Software\\Statistics"},
        {0, L"Software\\Statistics", 0, L"Software\\Statistics"},
        {kLocalMachine, L"HKCU\\Software", kLocalMachine, L"HKCU\\Software"},
        {0, L"hkey_LOCAL_machine\\Software\\", kLocalMachine, L"Software"},
        {0, L"HKUS", 0x80000003, L""},
        {0, L"HKCU\\\\Software", kCurrentUser, L"Software"},  // an empty piece starts nothing
        {0, L"", 0, L""},
        {kCurrentUser, L"", kCurrentUser, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "root " << std::hex << c.root << " and '" << c.subPath << "'");
        KeyPath path(c.root, c.subPath);
        EXPECT_EQ(c.expectedRoot, path.GetRoot());
        EXPECT_EQ(c.expectedPath, path.GetPath());
        EXPECT_FALSE(path.IsOwnView());
        EXPECT_FALSE(path.IsVolatile());
    }

    KeyPath onlyPath(L"HKCU\\Software");  // no root is looked for
    EXPECT_EQ(0u, onlyPath.GetRoot());
    EXPECT_EQ(L"HKCU\\Software", onlyPath.GetPath());
    EXPECT_EQ(2, onlyPath.GetParsedPath().GetPartCount());
}

TEST(KeyPath, AppendAddsBehindASeparator) {
    KeyPath path(kCurrentUser, L"Software");
    path.Append(L"Brunlow\\Statistics");
    EXPECT_EQ(L"Software\\Brunlow\\Statistics", path.GetPath());
    EXPECT_EQ(L"Statistics", path.GetParsedPath().GetLastPart());

    KeyPath unrooted(0, L"Software");
    unrooted.Append(L"HKLM\\Brunlow");  // a root name is still looked for while none is set
    EXPECT_EQ(kLocalMachine, unrooted.GetRoot());
    EXPECT_EQ(L"Software\\Brunlow", unrooted.GetPath());
}

TEST(KeyPath, CreateWriteAndRead) {
    Testing::TempRegistryKey temp;
    KeyPath path(kCurrentUser, temp.SubKey() + L"\\Statistics");
    LONG status = -1;
    path.SetDWORD(status, L"Shown", 3);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, status);  // SetDWORD creates nothing
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, path.GetPath(), 0));
    EXPECT_EQ(9u, path.GetDWORD(L"Shown", 9));

    path.Create(status);
    EXPECT_EQ(ERROR_SUCCESS, status);
    path.Create(status);  // an existing key is opened
    EXPECT_EQ(ERROR_SUCCESS, status);
    path.SetDWORD(status, L"Shown", 3);
    EXPECT_EQ(ERROR_SUCCESS, status);
    EXPECT_EQ(3u, path.GetDWORD(L"Shown", 9));
    EXPECT_EQ(3u, Key(kCurrentUser, path.GetPath()).GetDWORD(L"Shown", 9, true));
}

TEST(KeyPath, QueryDWORDStatus) {
    Testing::TempRegistryKey temp;
    WriteRawValues(temp.Handle(), {
        {L"dword", REG_DWORD, NumberBytes<DWORD>(77)},
        {L"short dword", REG_DWORD, NumberBytes<DWORD>(77, 3)},
        {L"sz", REG_SZ, TextBytes(L"7", true)},  // 4 bytes, like a number
        {L"long sz", REG_SZ, TextBytes(L"77", true)},
        {L"binary 4", REG_BINARY, NumberBytes<DWORD>(77)},
        {L"qword", REG_QWORD, NumberBytes<ULONGLONG>(77)},
        {L"binary 8", REG_BINARY, NumberBytes<ULONGLONG>(77)},
    });
    struct Case {
        const wchar_t* name;
        LONG status;
        DWORD value;  // 5: left as it was
    } cases[] = {
        {L"dword", ERROR_SUCCESS, 77},
        {L"short dword", ERROR_INVALID_DATA, 5},
        {L"sz", ERROR_INVALID_DATA, 5},
        {L"long sz", ERROR_MORE_DATA, 5},
        {L"binary 4", ERROR_INVALID_DATA, 5},
        {L"qword", ERROR_MORE_DATA, 5},
        {L"binary 8", ERROR_MORE_DATA, 5},
        {L"missing", ERROR_FILE_NOT_FOUND, 5},
    };
    const KeyPath path(kCurrentUser, temp.SubKey());
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "value '" << c.name << "'");
        LONG status = -1;
        DWORD value = 5;
        path.QueryDWORD(status, c.name, value);
        EXPECT_EQ(c.status, status);
        EXPECT_EQ(c.value, value);
        EXPECT_EQ(c.status == ERROR_SUCCESS ? c.value : 9u, path.GetDWORD(c.name, 9));
    }

    LONG status = -1;
    DWORD value = 5;
    KeyPath(kCurrentUser, temp.SubKey() + L"\\missing").QueryDWORD(status, L"dword", value);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, status);
    KeyPath(0, temp.SubKey()).QueryDWORD(status, L"dword", value);
    EXPECT_NE(ERROR_SUCCESS, status);  // no root
    EXPECT_EQ(5u, value);
}

TEST(KeyPath, VolatileKeysTakeOnlyVolatileChildren) {
    Testing::TempRegistryKey temp;
    KeyPath path(kCurrentUser, temp.SubKey() + L"\\volatile");
    path.SetVolatile(true);
    LONG status = -1;
    path.Create(status);
    ASSERT_EQ(ERROR_SUCCESS, status);
    HKEY child = nullptr;
    EXPECT_EQ(ERROR_CHILD_MUST_BE_VOLATILE,
              RegCreateKeyExW(HKEY_CURRENT_USER, (path.GetPath() + L"\\child").c_str(), 0, nullptr, 0, KEY_READ,
                              nullptr, &child, nullptr));
    if (child)
        RegCloseKey(child);
}

// Under a 64-bit system HKLM\Software has a 32-bit view for 32-bit programs.
// KeyPath uses the 64-bit view unless told otherwise; Key writes in the
// program's own view and reads in the one asked for.
TEST(RegistryViews, MachineSoftwareDiffersBetweenViews) {
    TempMachineKeyName name;
    KeyPath wide(kLocalMachine, name.SubKey());
    LONG status = -1;
    wide.Create(status);
    ASSERT_EQ(ERROR_SUCCESS, status);
    wide.SetDWORD(status, L"v", 64);
    ASSERT_EQ(ERROR_SUCCESS, status);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, name.SubKey(), KEY_WOW64_64KEY));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, name.SubKey(), KEY_WOW64_32KEY));

    Key key(kLocalMachine, name.SubKey());
    EXPECT_EQ(0u, key.GetDWORD(L"v", 0, true));
    EXPECT_EQ(64u, key.GetDWORD(L"v", 0, false));

    KeyPath own(kLocalMachine, name.SubKey());
    own.SetOwnView(true);
    own.SetDWORD(status, L"v", 1);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, status);
    EXPECT_EQ(0u, own.GetDWORD(L"v", 0));

    EXPECT_TRUE(key.SetDWORD(L"v", 32));  // creates the key in the own view
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, name.SubKey(), KEY_WOW64_32KEY));
    EXPECT_EQ(32u, own.GetDWORD(L"v", 0));
    EXPECT_EQ(64u, wide.GetDWORD(L"v", 0));
    EXPECT_EQ(32u, key.GetDWORD(L"v", 0, true));
    EXPECT_EQ(64u, key.GetDWORD(L"v", 0, false));
}

}  // namespace
