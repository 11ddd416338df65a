// The program's entry for the ANSI start-up of the C run-time: WinMain hands
// over to AfxWinMain. Linked only into programs without a main() or WinMain
// of their own; wWinMain (start-up with -municode) lives in its own file so
// that each is linked alone.
#include "AfxEntryCommandLine.h"

extern "C" int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR, int nCmdShow) {
    return AfxWinMain(hInstance, hPrevInstance, AfxCommandLineAfterProgramName(), nCmdShow);
}
