#include "testing/ChildProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
    // A crash or a failed check must never wait on a dialog under test.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    int exitCode = 0;
    if (Testing::RunScenarioFromCommandLine(argc, argv, exitCode))
        return exitCode;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
