// The program's entry: the C run-time start-up calls WinMain (or wWinMain
// when linked with -municode), which hands over to AfxWinMain. This file is
// linked only into programs that have no main() or WinMain of their own.
#include "AfxState.h"

namespace {

// The command line after the program's name, as Windows passes it to WinMain.
LPWSTR CommandLineAfterProgramName() {
    LPWSTR line = GetCommandLineW();
    bool quoted = false;
    while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
        if (*line == L'"')
            quoted = !quoted;
        ++line;
    }
    while (*line == L' ' || *line == L'\t')
        ++line;
    return line;
}

}  // namespace

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, CommandLineAfterProgramName(), nCmdShow);
}

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, CommandLineAfterProgramName(), nCmdShow);
}
