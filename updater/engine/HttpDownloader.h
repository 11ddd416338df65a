#pragma once
// HttpDownloader: one GET of the setup package over WinHTTP into a
// VerboseFileWriter.
//
// Only a whole answer counts: status 200 and, when the server announced a
// Content-Length, exactly that many bytes. An https address is fetched over
// TLS, and the address's own port is used.
//
// Threads: Download runs on the worker thread; Close on that thread or, once
// it has ended, on the thread that stops the worker.
#include "foundation/system/AutoHandle.h"

#include <windows.h>
#include <winhttp.h>

#include <string>

namespace Engine {

class VerboseFileWriter;

class HttpDownloader {
public:
    // An address without "://" gets "http://" in front.
    HttpDownloader(const std::wstring& url, VerboseFileWriter* pWriter);
    ~HttpDownloader();
    HttpDownloader(const HttpDownloader&) = delete;
    HttpDownloader& operator=(const HttpDownloader&) = delete;

    // True when the whole body was written and the writer finished. On
    // failure the handles are closed and the writer aborted.
    bool Download();
    // Closes the request, connection and session (in that order); aborts the
    // writer when any of them was open.
    void Close();

    const std::wstring& GetURL() const { return m_url; }

private:
    typedef STLHelpers::AutoHandleT<HINTERNET, ::WinHttpCloseHandle, STLHelpers::WinHandleValidator> WinHttpHandle;

    bool Transfer();

    std::wstring m_url;
    VerboseFileWriter* m_pWriter;
    WinHttpHandle m_session;
    WinHttpHandle m_connection;
    WinHttpHandle m_request;
};

// The user agent the download server expects of the Updater.
extern const wchar_t kUpdaterUserAgent[];
// The least a read of the body asks for.
const DWORD kHttpReadSize = 256 * 1024;

}  // namespace Engine
