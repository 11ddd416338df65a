#include "foundation/system/OSVersion.h"

namespace System {

namespace {

OSVERSIONINFOW ReadVersion() {
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    GetVersionExW(&version);
#pragma GCC diagnostic pop
    return version;
}

}  // namespace

OSVERSIONINFOW GetOSVersionInfo() {
    // Filled once; the static's guarded initialisation serves as the lock.
    static const OSVERSIONINFOW version = ReadVersion();
    return version;
}

bool IsVistaOrLater(const OSVERSIONINFOW& version) {
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 6;
}

bool IsVistaOrLater() {
    return IsVistaOrLater(GetOSVersionInfo());
}

bool IsWindows7OrLater(const OSVERSIONINFOW& version) {
    return version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (version.dwMajorVersion > 6 || (version.dwMajorVersion == 6 && version.dwMinorVersion >= 1));
}

bool IsWindows7OrLater() {
    return IsWindows7OrLater(GetOSVersionInfo());
}

}  // namespace System
