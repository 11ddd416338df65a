#include "foundation/registry/KeyHandle.h"

#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using Registry::KeyHandle;

TEST(KeyHandle, OpenKeepsTheViewBitsAndMovesOwnership) {
    Testing::TempRegistryKey temp;
    LONG status = -1;
    KeyHandle handle = KeyHandle::Open(HKEY_CURRENT_USER, temp.SubKey().c_str(), KEY_READ | KEY_WOW64_64KEY, status);
    EXPECT_EQ(ERROR_SUCCESS, status);
    ASSERT_TRUE(handle.IsOpen());
    EXPECT_EQ(static_cast<REGSAM>(KEY_WOW64_64KEY), handle.GetViewBits());

    const HKEY raw = handle.Get();
    KeyHandle target = std::move(handle);
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(0u, handle.GetViewBits());
    EXPECT_EQ(raw, target.Get());
    EXPECT_EQ(static_cast<REGSAM>(KEY_WOW64_64KEY), target.GetViewBits());

    KeyHandle other = KeyHandle::Open(HKEY_CURRENT_USER, temp.SubKey().c_str(), KEY_READ, status);
    ASSERT_TRUE(other.IsOpen());
    EXPECT_EQ(0u, other.GetViewBits());
    target = std::move(other);  // closes the handle it held
    EXPECT_NE(raw, target.Get());
    EXPECT_EQ(ERROR_INVALID_HANDLE, RegQueryInfoKeyW(raw, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                                     nullptr, nullptr, nullptr, nullptr, nullptr));
    target.Close();
    EXPECT_FALSE(target.IsOpen());
}

TEST(KeyHandle, FailedOpenGivesTheErrorAndNoHandle) {
    Testing::TempRegistryKey temp;
    LONG status = -1;
    KeyHandle handle =
        KeyHandle::Open(HKEY_CURRENT_USER, (temp.SubKey() + L"\\missing").c_str(), KEY_READ, status);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, status);
    EXPECT_FALSE(handle.IsOpen());
    EXPECT_EQ(0u, handle.GetViewBits());
}

}  // namespace
