#include "foundation/registry/RootKeys.h"

#include <gtest/gtest.h>

namespace {

using namespace Registry;

TEST(RootKeys, TableRows) {
    struct Case {
        const wchar_t* shortName;
        const wchar_t* longName;
        RootKey value;
        HKEY handle;
    } cases[] = {
        {L"HKCU", L"HKEY_CURRENT_USER", 0x80000001, HKEY_CURRENT_USER},
        {L"HKLM", L"HKEY_LOCAL_MACHINE", 0x80000002, HKEY_LOCAL_MACHINE},
        {L"HKCR", L"HKEY_CLASSES_ROOT", 0x80000000, HKEY_CLASSES_ROOT},
        {L"HKCC", L"HKEY_CURRENT_CONFIG", 0x80000005, HKEY_CURRENT_CONFIG},
        {L"HKUS", L"HKEY_USERS", 0x80000003, HKEY_USERS},
        {L"HKDD", L"HKEY_DYN_DATA", 0x80000006, HKEY_DYN_DATA},
        {L"HKPD", L"HKEY_PERFORMANCE_DATA", 0x80000004, HKEY_PERFORMANCE_DATA},
        {L"HKPN", L"HKEY_PERFORMANCE_NLSTEXT", 0x80000060, HKEY_PERFORMANCE_NLSTEXT},
        {L"HKPT", L"HKEY_PERFORMANCE_TEXT", 0x80000050, HKEY_PERFORMANCE_TEXT},
    };
    ASSERT_EQ(RootKeyCount, static_cast<int>(sizeof(cases) / sizeof(cases[0])));
    for (int index = 0; index < RootKeyCount; ++index) {
        const Case& c = cases[index];
        SCOPED_TRACE(testing::Message() << "row " << index << " " << c.longName);
        EXPECT_STREQ(c.shortName, GetRootShortName(index));
        EXPECT_STREQ(c.longName, GetRootLongName(index));
        EXPECT_EQ(c.value, GetRootValue(index));
        EXPECT_EQ(c.handle, ToHandle(c.value));
        EXPECT_EQ(c.value, ToRootKey(c.handle));
        EXPECT_EQ(c.value, ParseRootKeyLongName(c.longName));
        int parsed = -1;
        EXPECT_TRUE(ParseRootName(c.shortName, parsed));
        EXPECT_EQ(index, parsed);
        parsed = -1;
        EXPECT_TRUE(ParseRootName(c.longName, parsed));
        EXPECT_EQ(index, parsed);
    }
    EXPECT_STREQ(L"", GetRootShortName(RootKeyCount));
    EXPECT_STREQ(L"", GetRootLongName(-1));
    EXPECT_EQ(0u, GetRootValue(RootKeyCount));
}

TEST(RootKeys, ParseRootNameIgnoresCase) {
    struct Case {
        const wchar_t* text;
        bool isRoot;
        int index;
    } cases[] = {
        {L"hklm", true, 1},         {L"HKEY_local_MACHINE", true, 1}, {L"hKuS", true, 4},
        {L"HKLM\\", false, 42},     {L"HKLMX", false, 42},            {L"HKEY_CURRENT_USE", false, 42},
        {L"", false, 42},           {L" HKCU", false, 42},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
        int index = 42;  // untouched when no row matches
        EXPECT_EQ(c.isRoot, ParseRootName(c.text, index));
        EXPECT_EQ(c.index, index);
    }
}

TEST(RootKeys, ParseRootKeyLongNameTakesExactLongNames) {
    struct Case {
        const wchar_t* text;
        RootKey root;
    } cases[] = {
        {L"HKEY_LOCAL_MACHINE", 0x80000002},
        {L"HKEY_LOCAL_MACHINE\\", 0x80000002},  // one trailing backslash
        {L"HKEY_LOCAL_MACHINE\\\\", 0},
        {L"HKLM", 0},                          // short names are not accepted
        {L"hkey_local_machine", 0},            // nor another case
        {L"HKEY_LOCAL_MACHINE\\SOFTWARE", 0},
        {L"", 0},
        {L"\\", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.text << "'");
        EXPECT_EQ(c.root, ParseRootKeyLongName(c.text));
    }
}

}  // namespace
