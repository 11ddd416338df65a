#pragma once
// The elevation service's stand-in as the tests meet it: installed in the
// prefix's 32-bit system folder and registered there. Every test that touches
// the service's registration, its installed copy or its call log holds
// ServiceLock, across all test processes of a run, and leaves the service
// installed and registered when it ends.
#include "foundation/system/Process.h"
#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <string>

namespace ElevationTests {

inline std::wstring SystemX86Folder() {
    wchar_t folder[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_SYSTEMX86, nullptr, 0, folder);
    return folder;
}

inline std::wstring InstalledServicePath() {
    return SystemX86Folder() + L"\\Vantrel.exe";
}

inline std::wstring CallLogPath() {
    return SystemX86Folder() + L"\\Vantrel.calls.log";
}

// The stand-in as built, beside the test executable.
inline std::wstring BuiltServicePath() {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring path = self;
    return path.substr(0, path.rfind(L'\\') + 1) + L"Vantrel.exe";
}

inline int CountServiceProcesses() {
    System::ProcessList processes;
    if (!System::FindProcessesByName(L"Vantrel.exe", processes, true))
        return -1;
    return static_cast<int>(processes.size());
}

// True once no Vantrel.exe runs; false when one still runs after the time.
inline bool WaitForNoServiceProcess(DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (CountServiceProcesses() == 0)
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(100);
    }
}

inline std::wstring ClassKeyPath(REFCLSID clsid) {
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return std::wstring(L"CLSID\\") + text;
}

inline bool ClassesRootKeyExists(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Runs the installed stand-in with a command line; its exit code, or -1
// when it did not start or end in time.
inline long RunInstalledService(const std::wstring& arguments) {
    const Testing::ChildResult result = Testing::RunProgram(InstalledServicePath(), arguments, {}, 60000);
    return result.started && !result.timedOut ? static_cast<long>(result.exitCode) : -1;
}

class ServiceLock {
public:
    ServiceLock() : m_mutex(CreateMutexW(nullptr, FALSE, L"BrunlowTests.ElevationService")) {
        const DWORD wait = m_mutex ? WaitForSingleObject(m_mutex, 600000) : WAIT_FAILED;
        m_isHeld = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
        EXPECT_TRUE(m_isHeld) << "the lock of the elevation service";
    }
    ~ServiceLock() {
        if (m_isHeld)
            ReleaseMutex(m_mutex);
        if (m_mutex)
            CloseHandle(m_mutex);
    }
    ServiceLock(const ServiceLock&) = delete;
    ServiceLock& operator=(const ServiceLock&) = delete;

private:
    HANDLE m_mutex;
    bool m_isHeld = false;
};

// Under the lock: the built stand-in copied into the system folder (once no
// copy runs there) and registered, and the call log emptied.
class InstalledService {
public:
    InstalledService() {
        EXPECT_TRUE(WaitForNoServiceProcess(20000)) << "a Vantrel.exe still runs";
        EXPECT_TRUE(CopyFileW(BuiltServicePath().c_str(), InstalledServicePath().c_str(), FALSE))
            << "install the stand-in: error " << GetLastError();
        EXPECT_EQ(0, RunInstalledService(L"/Service"));
        DeleteFileW(CallLogPath().c_str());
    }
    ~InstalledService() {
        // Whatever a test did, the next one finds the service registered.
        if (GetFileAttributesW(InstalledServicePath().c_str()) == INVALID_FILE_ATTRIBUTES) {
            WaitForNoServiceProcess(20000);
            CopyFileW(BuiltServicePath().c_str(), InstalledServicePath().c_str(), FALSE);
        }
        RunInstalledService(L"/Service");
    }
    InstalledService(const InstalledService&) = delete;
    InstalledService& operator=(const InstalledService&) = delete;

private:
    ServiceLock m_lock;
};

}  // namespace ElevationTests
