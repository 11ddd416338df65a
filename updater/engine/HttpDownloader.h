#pragma once
// HttpDownloader: one GET of the setup package over WinHTTP into a
// VerboseFileWriter.
//
// Only a whole answer counts: status 200, a body that is not empty and, when
// the server announced a Content-Length, that many bytes (bytes sent beyond
// them are no part of the answer and are not read). An https address is
// fetched over TLS, and the address's own port is used. At most
// kMaxRedirects redirects are followed.
//
// No step waits for ever and a cancel ends any of them at once: WinHTTP runs
// each step on its own threads and Download waits for the step's end, the
// cancel event or the step's limit (kConnectTimeoutMs and the others below),
// whichever comes first. The body is read piece by piece as WinHTTP reports
// it available (a larger read would wait for more), so the writer and its
// progress follow the data as it arrives.
//
// Threads: Download runs on the worker thread; Close on that thread or, once
// it has ended, on the thread that stops the worker. WinHTTP's callback runs
// on WinHTTP's threads and, during the body, reads and writes each piece
// there, under the request's Completion lock; Close takes that lock before it
// lets the request go, so the writer is never used by two threads at once.
#include "foundation/system/AutoHandle.h"

#include <windows.h>
#include <winhttp.h>

#include <string>

namespace Engine {

class VerboseFileWriter;

// Limits of each step, in milliseconds.
const DWORD kConnectTimeoutMs = 15000;  // finding the server and connecting to it
const DWORD kSendTimeoutMs = 15000;     // sending the request
const DWORD kHeadersTimeoutMs = 30000;  // from the request sent to the response's headers
const DWORD kBodyTimeoutMs = 30000;     // for each piece of the body
// Redirects followed before the download fails.
const DWORD kMaxRedirects = 10;

class HttpDownloader {
public:
    // An address without "://" gets "http://" in front.
    HttpDownloader(const std::wstring& url, VerboseFileWriter* pWriter);
    ~HttpDownloader();
    HttpDownloader(const HttpDownloader&) = delete;
    HttpDownloader& operator=(const HttpDownloader&) = delete;

    // A manual-reset event whose setting ends a download in progress (and
    // keeps a later one from starting); null for none. Not owned.
    void SetCancelEvent(HANDLE cancel) { m_cancel = cancel; }

    // True when the whole body was written and the writer finished. On
    // failure, cancel or time-out the handles are closed and the writer aborted.
    bool Download();
    // Closes the request, connection and session (in that order); aborts the
    // writer when any of them was open.
    void Close();

    const std::wstring& GetURL() const { return m_url; }

private:
    typedef STLHelpers::AutoHandleT<HINTERNET, ::WinHttpCloseHandle, STLHelpers::WinHandleValidator> WinHttpHandle;
    struct Completion;
    enum class StepEnd { Done, Failed, Cancelled, TimedOut };

    bool Transfer();
    // Gives the request its Completion and callback; false when WinHTTP refuses.
    bool Watch();
    // Waits for the request's step in progress; during the body each piece
    // written starts the limit again.
    StepEnd Await(DWORD limitMs);
    // Tells the callback to do nothing more.
    void Release();
    bool IsCancelled() const;
    static void CALLBACK OnStatus(HINTERNET handle, DWORD_PTR context, DWORD status, LPVOID pInfo, DWORD infoLength);

    std::wstring m_url;
    VerboseFileWriter* m_pWriter;
    HANDLE m_cancel = nullptr;
    WinHttpHandle m_session;
    WinHttpHandle m_connection;
    WinHttpHandle m_request;
    // Owned by m_request while it is open: WinHTTP frees it as it closes the
    // handle, which may be after Close when a step was cut short.
    Completion* m_pCompletion = nullptr;
};

// The user agent the download server expects of the Updater.
extern const wchar_t kUpdaterUserAgent[];
// The most one read of the body asks for, however much is available.
const DWORD kHttpReadSize = 1024 * 1024;

}  // namespace Engine
