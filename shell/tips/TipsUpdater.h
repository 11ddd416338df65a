#pragma once
// TipsUpdater: once per run, on its own thread, fetches a newer tips file
// from the tips server, checks it, completes its pictures and records in the
// application's profile (section "Usage") which version it holds and the
// server's date of it.
//
//   updater->Start(false, 0);   // the application's start
//   updater->Stop();            // its shutdown, then Tips::FinalizeTipOfTheDayUpdate()
//
// An accepted file waits as the new tips file until a tips collection is
// destroyed or the application exits; an unchecked or refused one never
// takes the tips file's place.
//
// Threads: started and stopped by the GUI thread; Run and everything below
// it on the worker. The stop request is the only state both touch.
#include "foundation/internet/Url.h"
#include "foundation/threads/ThreadImpl.h"

#include <cstdint>
#include <string>

namespace Tips {

class TipsOfTheDay;

class TipsUpdater
    : public ThreadLib::ThreadImpl<TipsUpdater, ThreadLib::DefaultThreadPolicy<ThreadLib::MinStartPolicy<0>,
                                                                                ThreadLib::EventStopPolicy<>>> {
public:
    TipsUpdater() = default;
    ~TipsUpdater() { Stop(); }

    // The thread's body: Run; ThreadImpl drops any exception.
    DWORD _Run();
    void Run();

    // Path of the downloaded, still unchecked tips file; empty when nothing came.
    std::wstring _DownloadXML();
    // True only for a 200 answer whose body was stored; a stop request
    // cancels between chunks, and so does a body beyond `maxBytes` (0: no limit).
    bool _DownloadFile(const std::wstring& address, const std::wstring& target, const std::wstring& modifiedSince,
                       unsigned long long maxBytes = 0);
    // False when the file is refused; IsUnreadable tells whether it was
    // because it could not be read (too large, not a tips file, no tip).
    bool _ProcessDownloadedXml(const std::wstring& path);
    bool IsUnreadable() const { return m_isUnreadable; }
    bool _DownloadPictures(const TipsOfTheDay& tips);

    static std::uint32_t GetTipsFileVersion();
    static bool SetTipsFileVersion(std::uint32_t version);
    static std::wstring GetTipsLastModificationDate();
    static bool SetTipsLastModificationDate(const std::wstring& date);

    std::uint32_t GetNewFileVersion() const { return m_newFileVersion; }

    bool _IsStopped() const;

private:
    std::uint32_t m_newFileVersion = 0;
    bool m_isUnreadable = false;
    // The "Last-Modified" of the answer that brought the tips file.
    std::wstring m_downloadedDate;
    std::wstring m_lastModified;
};

}  // namespace Tips
