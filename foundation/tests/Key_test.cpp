#include "foundation/registry/Key.h"

#include "foundation/tests/RawRegistryValues.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

namespace {

using namespace Registry;
using namespace FoundationTests;

const RootKey kCurrentUser = 0x80000001;
const DWORD kNoNumber = 0xDEFA17;

TEST(Key, SetFullPath) {
    struct Case {
        const wchar_t* text;
        RootKey root;
        const wchar_t* path;
    } cases[] = {
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes", 0x80000002, L"SOFTWARE\\Classes"},
        {L"HKLM\\SOFTWARE", 0, L"SOFTWARE"},  // short names are not taken here
        {L"HKEY_CURRENT_USER", 0x80000001, L""},
        {L"HKEY_CURRENT_USER\\", 0x80000001, L""},
        {L"HKEY_USERS\\.DEFAULT\\Software", 0x80000003, L".DEFAULT\\Software"},
        {L"hkey_current_user\\Software", 0, L"Software"},
        {L"\\Software", 0, L"Software"},
        {L"", 0, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
        Key key(0x80000002, L"before");
        key.SetFullPath(c.text);
        EXPECT_EQ(c.root, key.GetRoot());
        EXPECT_EQ(c.path, key.GetPath());
    }
}

TEST(Key, ReadsOnlyWellFormedValues) {
    Testing::TempRegistryKey temp;
    const std::wstring longest(32767, L'x');  // fills the read buffer with its zero
    WriteRawValues(temp.Handle(), {
        {L"dword", REG_DWORD, NumberBytes<DWORD>(0x12345678)},
        {L"short dword", REG_DWORD, NumberBytes<DWORD>(0x1234, 2)},
        {L"qword", REG_QWORD, NumberBytes<ULONGLONG>(7)},
        {L"binary 4", REG_BINARY, NumberBytes<DWORD>(7)},
        {L"binary 8", REG_BINARY, NumberBytes<ULONGLONG>(7)},
        {L"sz", REG_SZ, TextBytes(L"text", true)},
        {L"expand sz", REG_EXPAND_SZ, TextBytes(L"%TEMP%\\x", true)},
        {L"embedded zero", REG_SZ, TextBytes(std::wstring(L"ab\0cd", 5), true)},
        {L"empty sz", REG_SZ, {}},
        {L"unterminated sz", REG_SZ, TextBytes(L"abc", false)},
        {L"odd sz", REG_SZ, {'a', 0, 0}},
        {L"multi sz", REG_MULTI_SZ, TextBytes(std::wstring(L"a\0", 2), true)},
        {L"longest sz", REG_SZ, TextBytes(longest, true)},
        {L"too long sz", REG_SZ, TextBytes(longest + L"x", true)},
        {L"", REG_SZ, TextBytes(L"the default value", true)},
    });
    struct Case {
        const wchar_t* name;
        DWORD number;           // kNoNumber: the default
        const wchar_t* text;    // null: the default
    } cases[] = {
        {L"dword", 0x12345678, nullptr},
        {L"short dword", kNoNumber, nullptr},
        {L"qword", kNoNumber, nullptr},
        {L"binary 4", kNoNumber, nullptr},
        {L"binary 8", kNoNumber, nullptr},
        {L"sz", kNoNumber, L"text"},
        {L"expand sz", kNoNumber, L"%TEMP%\\x"},  // returned unexpanded
        {L"embedded zero", kNoNumber, L"ab"},
        {L"empty sz", kNoNumber, L""},
        {L"unterminated sz", kNoNumber, nullptr},
        {L"odd sz", kNoNumber, nullptr},
        {L"multi sz", kNoNumber, nullptr},
        {L"longest sz", kNoNumber, longest.c_str()},
        {L"too long sz", kNoNumber, nullptr},
        {L"", kNoNumber, L"the default value"},
        {L"missing", kNoNumber, nullptr},
    };
    Key key(kCurrentUser, temp.SubKey());
    for (bool ownView : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(testing::Message() << "value '" << c.name << "', own view " << ownView);
            EXPECT_EQ(c.number, key.GetDWORD(c.name, kNoNumber, ownView));
            EXPECT_EQ(c.text ? c.text : L"(default)", key.GetString(c.name, L"(default)", ownView));
        }
    }
}

TEST(Key, SetDWORDCreatesTheKey) {
    Testing::TempRegistryKey temp;
    const std::wstring path = temp.SubKey() + L"\\new\\deeper";
    Key key(kCurrentUser, path);
    EXPECT_EQ(5u, key.GetDWORD(L"n", 5, true));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, path, 0));

    EXPECT_TRUE(key.SetDWORD(L"n", 42));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, path, 0));
    EXPECT_TRUE(key.SetDWORD(L"n", 43));
    // The read handle made before the key existed was empty; a new one is tried.
    EXPECT_EQ(43u, key.GetDWORD(L"n", 5, true));
    Key other(kCurrentUser, path);
    EXPECT_EQ(43u, other.GetDWORD(L"n", 5, false));
}

TEST(Key, WithoutRootOrPathNothingIsOpened) {
    Key noPath(kCurrentUser, L"");
    EXPECT_FALSE(noPath.SetDWORD(L"Brunlow test value", 1));
    HKEY root = HKEY_CURRENT_USER;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegQueryValueExW(root, L"Brunlow test value", nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(L"d", noPath.GetString(L"", L"d", true));

    Testing::TempRegistryKey temp;
    WriteRawValues(temp.Handle(), {{L"n", REG_DWORD, NumberBytes<DWORD>(1)}});
    Key key(kCurrentUser, L"");
    key.SetFullPath(L"HKCU\\" + temp.SubKey());  // unknown root name: root 0
    EXPECT_EQ(0u, key.GetRoot());
    EXPECT_EQ(9u, key.GetDWORD(L"n", 9, true));
    EXPECT_FALSE(key.SetDWORD(L"n", 2));
    key.SetFullPath(L"HKEY_CURRENT_USER\\" + temp.SubKey());
    EXPECT_EQ(1u, key.GetDWORD(L"n", 9, true));
}

TEST(Key, ChangingRootOrPathOpensTheNewKey) {
    Testing::TempRegistryKey first;
    Testing::TempRegistryKey second;
    WriteRawValues(first.Handle(), {{L"n", REG_DWORD, NumberBytes<DWORD>(1)}, {L"s", REG_SZ, TextBytes(L"one", true)}});
    WriteRawValues(second.Handle(), {{L"n", REG_DWORD, NumberBytes<DWORD>(2)}, {L"s", REG_SZ, TextBytes(L"two", true)}});

    Key key(kCurrentUser, first.SubKey());
    EXPECT_EQ(1u, key.GetDWORD(L"n", 0, true));
    EXPECT_EQ(1u, key.GetDWORD(L"n", 0, false));
    EXPECT_TRUE(key.SetDWORD(L"w", 10));

    key.SetPath(second.SubKey());
    EXPECT_EQ(second.SubKey(), key.GetPath());
    EXPECT_EQ(2u, key.GetDWORD(L"n", 0, true));
    EXPECT_EQ(L"two", key.GetString(L"s", L"", false));
    EXPECT_TRUE(key.SetDWORD(L"w", 20));

    key.SetRoot(0);
    EXPECT_EQ(0u, key.GetDWORD(L"n", 0, true));
    EXPECT_FALSE(key.SetDWORD(L"w", 30));

    key.SetRoot(kCurrentUser);
    EXPECT_EQ(L"two", key.GetString(L"s", L"", true));
    EXPECT_EQ(20u, key.GetDWORD(L"w", 0, true));
    EXPECT_EQ(10u, Key(kCurrentUser, first.SubKey()).GetDWORD(L"w", 0, true));
}

}  // namespace
