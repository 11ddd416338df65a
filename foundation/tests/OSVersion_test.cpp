#include "foundation/system/OSVersion.h"

#include <gtest/gtest.h>

namespace {

OSVERSIONINFOW Version(DWORD platform, DWORD major, DWORD minor) {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwPlatformId = platform;
    version.dwMajorVersion = major;
    version.dwMinorVersion = minor;
    return version;
}

TEST(OSVersion, TestsOnInjectedVersions) {
    static_assert(sizeof(OSVERSIONINFOW) == 276, "the system's version record");
    struct Case {
        DWORD platform, major, minor;
        bool vista, windows7;
    } cases[] = {
        {VER_PLATFORM_WIN32_NT, 5, 1, false, false},   // XP
        {VER_PLATFORM_WIN32_NT, 5, 2, false, false},   // Server 2003
        {VER_PLATFORM_WIN32_NT, 6, 0, true, false},    // Vista
        {VER_PLATFORM_WIN32_NT, 6, 1, true, true},     // 7
        {VER_PLATFORM_WIN32_NT, 6, 2, true, true},     // 8
        {VER_PLATFORM_WIN32_NT, 6, 3, true, true},     // 8.1
        {VER_PLATFORM_WIN32_NT, 10, 0, true, true},    // 10 and 11
        {VER_PLATFORM_WIN32_WINDOWS, 6, 1, false, false},
        {VER_PLATFORM_WIN32s, 10, 0, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "platform " << c.platform << ", " << c.major << "." << c.minor);
        const OSVERSIONINFOW version = Version(c.platform, c.major, c.minor);
        EXPECT_EQ(c.vista, System::IsVistaOrLater(version));
        EXPECT_EQ(c.windows7, System::IsWindows7OrLater(version));
    }
}

TEST(OSVersion, RecordIsTheSystemsAndTestsUseIt) {
    OSVERSIONINFOW expected = {};
    expected.dwOSVersionInfoSize = sizeof expected;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ASSERT_TRUE(GetVersionExW(&expected));
#pragma GCC diagnostic pop
    const OSVERSIONINFOW version = System::GetOSVersionInfo();
    EXPECT_EQ(expected.dwMajorVersion, version.dwMajorVersion);
    EXPECT_EQ(expected.dwMinorVersion, version.dwMinorVersion);
    EXPECT_EQ(expected.dwBuildNumber, version.dwBuildNumber);
    EXPECT_EQ(expected.dwPlatformId, version.dwPlatformId);
    EXPECT_EQ(System::IsVistaOrLater(version), System::IsVistaOrLater());
    EXPECT_EQ(System::IsWindows7OrLater(version), System::IsWindows7OrLater());
}

}  // namespace
