#pragma once
#include "afxwin.h"

// The command line after the program's name, as Windows passes it to WinMain.
inline LPWSTR AfxCommandLineAfterProgramName() {
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
