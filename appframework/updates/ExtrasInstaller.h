#pragma once
// ExtrasInstaller: one pass after start-up that asks whether a newer version
// is published and whether the optional Extras should be offered, and the
// launch of a private copy of the Updater that installs them.
//
//   ExtrasInstaller& extras = ExtrasInstaller::GetInstance();
//   extras.SetListener(pMainFrame);   // StartApplication
//   extras.Start(false, 0);
//   ...
//   extras.SetListener(nullptr);      // the frame's destruction
//   extras.Stop();                    // ShutdownApplication
//
// Threads: the worker runs _PollOnce; LaunchUpdater and SetListener run on
// the GUI thread. The critical section guards the listener and the count of
// listener calls in progress.
#include "appframework/updates/IUpdateListener.h"
#include "foundation/filesystem/Folder.h"
#include "foundation/strings/LiteString.h"
#include "foundation/sync/CriticalSection.h"
#include "foundation/threads/OwnedHandle.h"
#include "foundation/threads/ThreadImpl.h"

#include <windows.h>

#include <string>

namespace ApplicationFramework {

class ExtrasInstaller
    : public ThreadLib::ThreadImpl<ExtrasInstaller, ThreadLib::DefaultThreadPolicy<ThreadLib::MinStartPolicy<0>,
                                                                                    ThreadLib::EventStopPolicy<>>> {
public:
    // How long the pass waits between the version check and the Extras check.
    static const DWORD kExtrasDelayMs = 2000;

    // The process's installer, made on first use with the current product
    // information.
    static ExtrasInstaller& GetInstance();

    ExtrasInstaller();
    ~ExtrasInstaller();

    // No listener call starts after this; when the listener is taken away it
    // returns only once a call in progress has returned, letting sent
    // messages through meanwhile (a listener may send to this thread).
    void SetListener(IUpdateListener* pListener);

    // The worker's body: one pass, any exception dropped.
    DWORD _Run();
    void _PollOnce();

    // The version-check address's text, "" when it cannot be downloaded.
    std::wstring _DownloadLatestVersion();
    // Dotted parts compared as integers, missing parts 0: current < latest.
    static bool _IsNewerVersion(const wlitestring& current, const wlitestring& latest);
    // Installed, or not offered at all by this product.
    bool _AreExtrasInstalled();
    // Neither installed nor being installed by the Updater.
    bool _ShouldOfferExtras();

    bool IsUpdaterRunning() const;
    static bool IsMegaCodecPackInstalled();

    // Starts "Updater.exe" from a fresh temporary copy; false when the folder
    // cannot be made or the start fails.
    bool LaunchUpdater(const wlitestring& languageName, bool withProduct);
    // The Updater's arguments for that launch.
    static std::wstring _BuildUpdaterArguments(const wlitestring& languageName, bool withProduct,
                                               const wlitestring& downloadAddress);
    // Each failed copy is reported as a warning; the others go on.
    static void _CopyUpdaterFiles(const FileSystem::Folder& updateFolder);

    const std::wstring& GetExtrasMutexName() const { return m_extrasMutexName; }

private:
    class ListenerCall;

    // The listener with a call counted in, or null (nothing counted).
    IUpdateListener* _BeginListenerCall();
    void _EndListenerCall();

    std::wstring m_extrasMutexName;
    Synchronization::CriticalSection m_listenerSection;
    IUpdateListener* m_pListener = nullptr;
    int m_callsInProgress = 0;
    ThreadLib::OwnedHandle m_callsFinished;  // manual reset; set while no call runs
};

}  // namespace ApplicationFramework
