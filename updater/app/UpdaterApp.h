#pragma once
// CUpdaterApp: the Updater's application object. Its start-up loads the
// skin and the resources, takes the mutex of its mode (asking a running
// product to close first on the update road), runs the progress dialog and
// starts the product again when the user asks for it. There is no message
// loop besides the dialog's: InitInstance always answers FALSE.
//
// Thread: the user-interface thread.
#include "foundation/system/AutoHandle.h"
#include "updater/settings/UpdaterSettings.h"

#include "afxwin.h"

#include <memory>
#include <string>

namespace Engine {
class UpdateController;
}

class CUpdaterApp : public CWinApp {
public:
    // The program's: the settings over the process's command line.
    CUpdaterApp();
    // A given command line (program path first), with a controller of its own.
    explicit CUpdaterApp(const wchar_t* commandLine);
    ~CUpdaterApp() override;

    BOOL InitInstance() override;
    // The process's exit code: kExitInstalled, or why the run ended without.
    int ExitInstance() override;

    enum ExitCode { kExitInstalled = 0, kExitFailed = 1, kExitCancelled = 2 };

    UpdaterSettings& GetSettings() { return m_settings; }
    // The process's controller for the program's settings; made on first use.
    Engine::UpdateController& GetController();

    // The toolkit's default skin beside the Updater; a missing or broken
    // skin leaves the dialog unskinned.
    void _LoadSkin();
    // The resource manager over "Resources\CommonDialogs" beside the
    // Updater, then the settings' language. Failures are reported, never fatal.
    void _InitializeResources();
    // Extras mode: the extras mutex. Otherwise the update mutex, and a
    // running product is asked to close; false (after a warning) when it
    // cannot be stopped.
    bool _TakeModeMutex();
    // Where the skin and the resources are looked for: the Updater's folder.
    std::wstring _GetProgramFolder() const;

private:
    UpdaterSettings m_settings;
    std::unique_ptr<Engine::UpdateController> m_pOwnController;
    STLHelpers::AutoHandle m_modeMutex;
    int m_exitCode = kExitFailed;
};
