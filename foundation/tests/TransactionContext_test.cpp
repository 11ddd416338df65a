#include "foundation/filesystem/TransactionContext.h"

#include "testing/TempFolder.h"

#include <gtest/gtest.h>

namespace {

using FileSystem::TransactionContext;

TEST(TransactionContext, PlainOpenOnlyWhenAllowed) {
    Testing::TempFolder temp;
    const std::wstring path = temp / L"plain.txt";

    HANDLE file = TransactionContext(nullptr, true)
                      .CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                  reinterpret_cast<HANDLE>(0x1234));  // the template is not passed on
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    EXPECT_TRUE(Testing::PathExists(path));

    const std::wstring refused = temp / L"refused.txt";
    EXPECT_EQ(INVALID_HANDLE_VALUE, TransactionContext(nullptr, false)
                                        .CreateFile(refused.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    EXPECT_FALSE(Testing::PathExists(refused));
}

TEST(TransactionContext, TransactedOpenWithoutTheSystemFunctionFails) {
    if (GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "CreateFileTransactedW"))
        GTEST_SKIP() << "this system has CreateFileTransactedW";
    Testing::TempFolder temp;
    const std::wstring path = temp / L"transacted.txt";
    // No fallback to the plain call, whatever plain calls are allowed.
    for (bool allowPlain : {true, false}) {
        SCOPED_TRACE(allowPlain);
        EXPECT_EQ(INVALID_HANDLE_VALUE, TransactionContext(reinterpret_cast<HANDLE>(0x1234), allowPlain)
                                            .CreateFile(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        EXPECT_FALSE(Testing::PathExists(path));
    }
}

}  // namespace
