// The program's entry for the wide start-up of the C run-time (-municode).
#include "AfxEntryCommandLine.h"

extern "C" int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, AfxCommandLineAfterProgramName(), nCmdShow);
}
