#include "foundation/system/Process.h"

#include "RecordingSink.h"
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"
#include "testing/TempRegistryKey.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cwctype>
#include <new>
#include <string>
#include <type_traits>
#include <vector>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;

const wchar_t kProbeEventVariable[] = L"BRUNLOW_PROBE_EVENT";
const wchar_t kProbeWindowClass[] = L"BrunlowProcessProbe";

std::wstring EnvironmentValue(const wchar_t* name) {
    wchar_t value[256] = {};
    DWORD n = GetEnvironmentVariableW(name, value, 256);
    return n > 0 && n < 256 ? value : L"";
}

std::wstring Upper(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

std::wstring ModuleFolder() {
    wchar_t exe[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring path = exe;
    return path.substr(0, path.rfind(L'\\'));
}

// The probe: a top-level window titled with the event's name, then the event
// is set and the child waits (bounded) to be ended.
TESTING_CHILD_SCENARIO(ProcessProbeWindow) {
    const std::wstring eventName = EnvironmentValue(kProbeEventVariable);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kProbeWindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kProbeWindowClass, eventName.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName.c_str());
    if (!window || !ready)
        return 2;
    SetEvent(ready);
    CloseHandle(ready);
    const DWORD end = GetTickCount() + 60000;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    return 0;
}

// A copy of the test executable under a name no other process has, running
// the probe scenario. Ended and waited for when the test is done.
class ProbeChild {
public:
    ProbeChild() {
        exeName = L"Probe" + Testing::NewGuidText().substr(1, 8) + L".exe";
        wchar_t self[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        const std::wstring exePath = m_folder / exeName;
        if (!CopyFileW(self, exePath.c_str(), TRUE))
            return;
        eventName = L"BrunlowProbe" + Testing::NewGuidText();
        m_ready = CreateEventW(nullptr, TRUE, FALSE, eventName.c_str());

        // The copy finds the C++ runtime DLLs beside the original through PATH.
        std::vector<wchar_t> environment;
        auto add = [&environment](const std::wstring& entry) {
            environment.insert(environment.end(), entry.begin(), entry.end());
            environment.push_back(L'\0');
        };
        add(std::wstring(kProbeEventVariable) + L"=" + eventName);
        add(L"PATH=" + ModuleFolder() + L";" + EnvironmentValue(L"SystemRoot") + L"\\system32");
        add(L"SystemRoot=" + EnvironmentValue(L"SystemRoot"));
        environment.push_back(L'\0');

        std::wstring commandLine = L"\"" + exePath + L"\" --child-scenario=ProcessProbeWindow";
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        if (!CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT,
                            environment.data(), nullptr, &startup, &m_info))
            return;
        HANDLE waits[2] = {m_ready, m_info.hProcess};
        started = WaitForMultipleObjects(2, waits, FALSE, 30000) == WAIT_OBJECT_0;
    }
    ~ProbeChild() {
        if (m_info.hProcess) {
            TerminateProcess(m_info.hProcess, 0);
            WaitForSingleObject(m_info.hProcess, 10000);
            CloseHandle(m_info.hThread);
            CloseHandle(m_info.hProcess);
        }
        if (m_ready)
            CloseHandle(m_ready);
    }
    DWORD Id() const { return m_info.dwProcessId; }
    DWORD ExitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(m_info.hProcess, &code);
        return code;
    }

    std::wstring exeName;
    std::wstring eventName;
    bool started = false;

private:
    Testing::TempFolder m_folder;
    HANDLE m_ready = nullptr;
    PROCESS_INFORMATION m_info = {};
};

TEST(Process, ChildIsFoundByUpperCaseNameWaitedForAndTerminated) {
    ProbeChild child;
    ASSERT_TRUE(child.started);

    System::ProcessList found;
    ASSERT_TRUE(System::FindProcessesByName(Upper(child.exeName), found, true));
    ASSERT_EQ(1u, found.size());
    EXPECT_EQ(child.Id(), found[0].GetId());
    EXPECT_FALSE(found[0].HasHandle());
    EXPECT_TRUE(_wcsicmp(child.exeName.c_str(), found[0].GetExeName().c_str()) == 0) << found[0].GetExeName();
    ASSERT_TRUE(found[0].GetInfo());
    EXPECT_EQ(GetCurrentProcessId(), found[0].GetInfo()->parent.GetId());
    EXPECT_GE(found[0].GetInfo()->threadCount, 1u);

    System::ProcessList withFolder;
    ASSERT_TRUE(System::FindProcessesByName(L"C:\\" + child.exeName, withFolder, true));
    EXPECT_TRUE(withFolder.empty());

    System::ProcessWindowList windows;
    ASSERT_TRUE(System::FindProcessWindows(Upper(child.exeName), windows));
    HWND probeWindow = FindWindowW(kProbeWindowClass, child.eventName.c_str());
    ASSERT_NE(nullptr, probeWindow);
    EXPECT_NE(windows.end(), std::find(windows.begin(), windows.end(), std::make_pair(child.Id(), probeWindow)));
    for (const auto& entry : windows)
        EXPECT_EQ(child.Id(), entry.first);

    System::Process watcher = found[0];
    ASSERT_TRUE(watcher.Open(SYNCHRONIZE));
    EXPECT_FALSE(watcher.Wait(0));

    // Listed without a handle: Terminate opens the process itself.
    EXPECT_TRUE(found[0].Terminate(7));
    EXPECT_TRUE(watcher.Wait(10000));
    EXPECT_EQ(7u, child.ExitCode());

    System::ProcessWindowList afterwards;
    ASSERT_TRUE(System::FindProcessWindows(child.exeName, afterwards));
    EXPECT_TRUE(afterwards.empty());
}

TEST(Process, EnumerationListsThisProcessAndKeepsEarlierEntriesWithoutClear) {
    System::ProcessList processes(1, System::Process(0, nullptr, nullptr));
    ASSERT_TRUE(System::EnumerateProcesses(processes, false));
    EXPECT_EQ(0u, processes[0].GetId());
    auto self = std::find_if(processes.begin(), processes.end(),
                             [](const System::Process& p) { return p.GetId() == GetCurrentProcessId(); });
    ASSERT_NE(processes.end(), self);
    EXPECT_TRUE(_wcsicmp(L"foundation_tests.exe", self->GetExeName().c_str()) == 0) << self->GetExeName();

    ASSERT_TRUE(System::EnumerateProcesses(processes, true));
    EXPECT_NE(0u, processes[0].GetId());
}

TEST(Process, NameThatNoProcessRunsFindsNothing) {
    System::ProcessList found(1, System::Process(0, nullptr, nullptr));
    EXPECT_TRUE(System::FindProcessesByName(L"no-such-program-" + Testing::NewGuidText() + L".exe", found, true));
    EXPECT_TRUE(found.empty());
    System::ProcessWindowList windows(1);
    EXPECT_TRUE(System::FindProcessWindows(L"no-such-program.exe", windows));
    EXPECT_TRUE(windows.empty());
}

TEST(Process, StartedProcessAsksItsIdFromTheHandle) {
    System::Process self(OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, GetCurrentProcessId()));
    ASSERT_TRUE(self.HasHandle());
    EXPECT_EQ(GetCurrentProcessId(), self.GetId());
    EXPECT_FALSE(self.Wait(0));

    // Copies share the handle owner.
    System::Process copy = self;
    EXPECT_EQ(self.GetHandle(), copy.GetHandle());
    EXPECT_EQ(GetCurrentProcessId(), copy.GetId());
}

TEST(Process, EmptyProcessIsInitialisedInPlace) {
    std::aligned_storage<sizeof(System::Process), alignof(System::Process)>::type place;
    System::Process* empty = System::Process::_InitEmpty(&place);
    EXPECT_EQ(static_cast<void*>(&place), static_cast<void*>(empty));
    EXPECT_FALSE(empty->HasHandle());
    EXPECT_EQ(nullptr, empty->GetHandle());
    EXPECT_FALSE(empty->GetInfo());
    EXPECT_FALSE(empty->Wait(0));
    EXPECT_EQ(0u, empty->GetId());
    empty->~Process();
}

TEST(Process, FailuresAreReportedAndAnswered) {
    RecordingSink sink;
    ScopedSink scope(&sink);

    System::Process unknown(0, nullptr, nullptr);
    EXPECT_FALSE(unknown.Open(SYNCHRONIZE));
    EXPECT_TRUE(unknown.GetExeName().empty());
    ASSERT_EQ(2u, sink.reports.size());
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((!!m_id))")) << sink.reports[0].text;
    EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[1].text.find(L"((m_pInfo))")) << sink.reports[1].text;
    EXPECT_EQ(Reporting::Error, sink.reports[1].severity);

    // An id no process has: nothing to open, nothing to end.
    System::Process gone(0x7FFFFFF0, nullptr, nullptr);
    EXPECT_FALSE(gone.Open(SYNCHRONIZE));
    EXPECT_FALSE(gone.Terminate(1));
    EXPECT_FALSE(gone.Wait(0));
}

}  // namespace
