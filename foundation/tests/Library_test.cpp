#include "foundation/system/Library.h"

#include <gtest/gtest.h>

namespace {

TEST(Library, LoadsAndFreesUnlessKept) {
    {
        System::Library library;
        ASSERT_TRUE(library.Load(L"version.dll"));
        EXPECT_EQ(GetModuleHandleW(L"version.dll"), library.GetHandle());
        EXPECT_NE(nullptr, GetProcAddress(library.GetHandle(), "GetFileVersionInfoW"));
        library.Free();
        EXPECT_EQ(nullptr, library.GetHandle());
        library.Free();  // twice is harmless
    }
    {
        System::Library kept(true);
        ASSERT_TRUE(kept.Load(L"version.dll"));
        kept.Free();
        EXPECT_NE(nullptr, kept.GetHandle());
    }
}

TEST(Library, MissingLibraryKeepsTheErrorAsHresult) {
    System::Library library;
    EXPECT_FALSE(library.Load(L"no-such-library-brunlow.dll"));
    EXPECT_EQ(nullptr, library.GetHandle());
    EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND), library.GetLastError().Value());
}

TEST(Library, CurrentModuleIsTheExecutableThatHoldsThisCode) {
    EXPECT_EQ(GetModuleHandleW(nullptr), System::GetCurrentModule());
}

}  // namespace
