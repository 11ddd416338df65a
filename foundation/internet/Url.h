#pragma once
// One HTTP or HTTPS address fetched through WinInet, the body handed chunk by
// chunk to a callback, a stream or a file.
//
//   Internet::Url url(L"http://example.com/tips.xml");
//   url.AddAcceptEncoding(Internet::Url::EncodingCompressed);
//   url.SetIfModifiedSince(L"Wed, 21 Oct 2015 07:28:00 GMT");
//   if (!url.DownloadToFile(path)) ...  // a 304 leaves the old file as it was
//
// A download runs on the calling thread and dispatches that thread's window
// messages between reads, so window procedures (the caller's too) may run
// re-entrantly during it. A Url is used by one thread at a time.
#include "foundation/core/InterfaceCore.h"
#include "foundation/internet/IStream.h"
#include "foundation/strings/LiteString.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <string>

namespace Internet {

class Url {
public:
    struct Chunk {
        const BYTE* pData;
        DWORD length;
    };

    class IDownloadCallback : public InterfaceCore::IInterfaceCore<IDownloadCallback> {
    public:
        // bytesSoFar includes this chunk; contentLength is the server's
        // Content-Length, 0 when none was sent. Setting cancel ends the
        // download with false.
        virtual void OnData(const Chunk* pChunk, ULONGLONG bytesSoFar, ULONGLONG contentLength, bool& cancel) = 0;
    };

    enum EncodingKind { EncodingNone = 0, EncodingCompressed = 1 };

    explicit Url(const wlitestring& address);

    // EncodingCompressed asks for gzip or deflate and lets WinInet inflate the
    // body; only on Vista or later. Other kinds do nothing.
    void AddAcceptEncoding(int kind);
    // `date` in HTTP date form. A text with a line break is refused (false):
    // it would smuggle further header lines into the request.
    bool SetIfModifiedSince(const wlitestring& date);

    // True when the whole body arrived with status 200. `status` holds the
    // HTTP status once one was received (304, 404, ...), else 0.
    bool Download(IDownloadCallback& callback, DWORD& status);
    // Writes every chunk into the stream; a failed or short write cancels.
    bool DownloadToStream(const boost::shared_ptr<STLHelpers_::IStream>& pStream);
    // Downloads into a temporary file beside `path`, which replaces the file
    // only when the download succeeded: a 304 or a failure leaves it as it
    // was. Throws as OpenFileStream does when the temporary file cannot be made.
    // `pObserver` sees each chunk once it is written and may cancel.
    bool DownloadToFile(const wlitestring& path, IDownloadCallback* pObserver = nullptr);
    // Hands an http or https address to the shell's "open".
    bool OpenInBrowser();

    const std::wstring& GetAddress() const { return m_url; }
    // The extra request-header lines, each ended by CR LF.
    const std::wstring& GetHeaders() const { return m_headers; }
    bool IsDecoding() const { return m_decode; }
    // The "Last-Modified" header of the last 200 answer; empty when that
    // answer had none or the last download got no 200.
    const std::wstring& GetLastModified() const { return m_lastModified; }

private:
    std::wstring m_headers;
    std::wstring m_lastModified;
    bool m_decode;
    std::wstring m_url;
};

// An http or https address with a host: what may be handed to the shell to
// open in the browser (a file path or another scheme could start a program).
bool IsWebAddress(const std::wstring& address);

// "http://" in front of an address that has no "://"; an empty address stays empty.
std::wstring AddDefaultScheme(const wlitestring& address);

// The InternetOpenUrlW flags of a download. Certificates are checked and a
// redirect from HTTPS to HTTP is not let through.
DWORD _DownloadRequestFlags(bool isSecure);

}  // namespace Internet
