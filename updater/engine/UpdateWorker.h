#pragma once
// UpdateWorker: the Updater's one piece of real work, on a thread of its own:
// download the setup package into a file of its own in the temporary
// folder, run it, wait for it and delete it, telling the listeners of every
// state change and every written chunk.
//
// States: 0 preparing, 1 connecting, 2 downloading, 3 installing, 4 finished
// (successfully unless HasFailed). A run fails when the download fails or is
// cancelled, when the setup cannot be started, does not end in time or ends
// with an exit code other than 0, and when it is stopped in states 1 to 3.
//
// Threads: the worker thread runs _Run, the downloader and the setup; the
// writer and OnProgress run where the downloader writes (WinHTTP's thread,
// see HttpDownloader). Stop runs on the user-interface thread and blocks it
// until the worker thread has ended, which takes moments in any state. State,
// counters and flags are atomics written by one thread and read by the other.
#include "foundation/sync/GuardedPtrList.h"
#include "foundation/system/Process.h"
#include "foundation/threads/ThreadImpl.h"
#include "updater/engine/HttpDownloader.h"
#include "updater/engine/IVerboseWritingConsumerCallback.h"
#include "updater/engine/VerboseFileWriter.h"

#include <atomic>
#include <string>

class UpdaterSettings;

namespace Engine {

class UpdateWorker
    : public ThreadLib::ThreadImpl<UpdateWorker, ThreadLib::DefaultThreadPolicy<ThreadLib::MinStartPolicy<0>,
                                                                                ThreadLib::EventStopPolicy<>>>,
      public IVerboseWritingConsumerCallback {
public:
    enum State {
        StatePreparing = 0,
        StateConnecting = 1,
        StateDownloading = 2,
        StateInstalling = 3,
        StateFinished = 4,
    };

    // Nothing is created yet: the setup file appears when the download
    // begins (its name is fixed here). `listeners` (of IUpdateEvents pointers) must outlive the worker.
    UpdateWorker(const UpdaterSettings& settings, const std::wstring& url,
                 Synchronization::GuardedPtrList& listeners);
    ~UpdateWorker();

    // The thread body: 0 after an installation attempt, 1 when the download failed.
    DWORD _Run();
    // Cancels. A run in states 1 to 3 ends within moments (a running setup is
    // ended and its file deleted) and counts as failed; state 4 follows.
    void Stop();

    int GetState() const { return m_state.load(); }
    bool HasFailed() const { return m_failed.load(); }
    unsigned long GetDoneBytes() const { return m_doneBytes.load(); }
    unsigned long GetTotalBytes() const { return m_totalBytes.load(); }  // 0 when unknown

    // "Update!-<process>-<number>.exe" in the temporary folder: one file per
    // worker, so that Updaters side by side do not share one.
    const std::wstring& _GetSetupPath() const { return m_setupPath; }
    // True when the setup started, ended in time and with exit code 0. The
    // file is deleted unless the setup is still running.
    bool _RunSetup();
    // Listeners hear only a change.
    void _SetState(int state);

    // IVerboseWritingConsumerCallback, called by the writer on the worker thread.
    bool OnBegin(unsigned long totalBytes) override;
    bool OnProgress(unsigned long bytesSoFar) override;
    void OnEnd(bool ok) override;

private:
    // Ends a setup that still runs after the body has ended (a stop while
    // installing), then deletes its file.
    void _EndSetup();
    void _DeleteSetupFile();

    const UpdaterSettings& m_settings;
    Synchronization::GuardedPtrList& m_listeners;
    std::wstring m_url;
    std::wstring m_setupPath;
    VerboseFileWriter m_writer;
    HttpDownloader m_downloader;
    System::Process m_setupProcess{0, nullptr, nullptr};
    std::atomic<int> m_state{StatePreparing};
    std::atomic<bool> m_cancelled{false};
    std::atomic<bool> m_failed{false};
    std::atomic<unsigned long> m_totalBytes{0};
    std::atomic<unsigned long> m_doneBytes{0};
};

// Parameters of a silent setup run.
extern const wchar_t kSilentSetupParameters[];
// How long a silent setup may run; one with windows is waited for without limit.
const DWORD kSilentSetupTimeoutMs = 300000;

}  // namespace Engine
