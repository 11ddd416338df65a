// A program with nothing but an application object: the library's entry
// point must start it. Its exit code tells the test what it saw.
#include "afxwin.h"

namespace {

class CProbeApp : public CWinApp {
public:
    BOOL InitInstance() override { return FALSE; }  // no message loop
    int ExitInstance() override {
        CCommandLineInfo info;
        ParseCommandLine(info);
        if (AfxGetApp() != this || AfxGetThread() != this)
            return 1;
        return info.m_nShellCommand == CCommandLineInfo::AppRegister ? 42 : 7;
    }
};

CProbeApp theApp;

}  // namespace
