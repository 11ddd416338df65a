#pragma once
// This test executable copied, with the runtime DLLs it needs, into
// "<temporary folder>\bin", where a child scenario runs beside a resource
// tree the test lays out around it. The holder finds its folders beside the
// program file, so each holder case gets a tree of its own.
//
//   ResourceTesting::CopiedProgram program;
//   program.Tree().WriteFile(L"bin\\Resources\\Main\\Metadata.xml", ...);
//   EXPECT_EQ(0u, program.Run("HolderScenario").exitCode);
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include <string>

namespace ResourceTesting {

class CopiedProgram {
public:
    CopiedProgram();

    const Testing::TempFolder& Tree() const { return m_tree; }
    // "<tree>\bin", the folder of the copy.
    std::wstring BinFolder() const { return m_tree / L"bin"; }

    // Runs the copy with the scenario and the extra argument (which the
    // scenario reads with ScenarioArgument). Killed after the timeout.
    Testing::ChildResult Run(const std::string& scenario, const std::wstring& argument = L"",
                             unsigned long timeoutMs = 60000) const;

private:
    Testing::TempFolder m_tree;
    std::wstring m_program;
};

// The extra argument a copied child was started with; empty without one.
std::wstring ScenarioArgument();

// Inside a child: makes HKEY_CURRENT_USER of this process the key
// HKCU\<subKey>, so that the child's settings come from a test key.
bool RedirectCurrentUser(const std::wstring& subKey);

}  // namespace ResourceTesting
