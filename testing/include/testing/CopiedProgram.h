#pragma once
// This test executable copied, with the runtime DLLs it needs, into
// "<temporary folder>\bin", where a child scenario runs beside whatever tree
// the test lays out around it. Code that finds its files beside the program
// file then sees the test's tree; a copy under a name of its own is a program
// whose processes are only the test's children.
//
//   Testing::CopiedProgram program;
//   program.Tree().WriteFile(L"bin\\Resources\\Main\\Metadata.xml", ...);
//   EXPECT_EQ(0u, program.Run("HolderScenario").exitCode);
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include <windows.h>

#include <string>

namespace Testing {

// A child started without waiting; it is killed when still running as this
// object ends.
class StartedChild {
public:
    StartedChild() = default;
    StartedChild(HANDLE process, DWORD id) : m_process(process), m_id(id) {}
    StartedChild(StartedChild&& other) noexcept;
    StartedChild& operator=(StartedChild&& other) noexcept;
    ~StartedChild();

    bool Started() const { return m_process != nullptr; }
    DWORD Id() const { return m_id; }
    // Waits for the end, killing the child after the timeout.
    ChildResult Wait(unsigned long timeoutMs = 60000);

private:
    void Close();

    HANDLE m_process = nullptr;
    DWORD m_id = 0;
};

class CopiedProgram {
public:
    // The copy keeps the test program's file name unless another is given.
    explicit CopiedProgram(const std::wstring& programName = L"");

    const TempFolder& Tree() const { return m_tree; }
    // "<tree>\bin", the folder of the copy.
    std::wstring BinFolder() const { return m_tree / L"bin"; }
    const std::wstring& ProgramPath() const { return m_program; }

    // Copies a file of the test program's folder (a DLL of this build) beside the copy.
    void CopyBeside(const std::wstring& fileName) const;

    // Runs the copy with the scenario and the extra argument (which the
    // scenario reads with ScenarioArgument). Killed after the timeout.
    ChildResult Run(const std::string& scenario, const std::wstring& argument = L"",
                    unsigned long timeoutMs = 60000) const;
    StartedChild Start(const std::string& scenario, const std::wstring& argument = L"") const;

private:
    TempFolder m_tree;
    std::wstring m_program;
};

// The extra argument a copied child was started with; empty without one.
std::wstring ScenarioArgument();

// Inside a child: makes HKEY_CURRENT_USER of this process the key
// HKCU\<subKey>, so that the child's settings come from a test key.
bool RedirectCurrentUser(const std::wstring& subKey);

}  // namespace Testing
