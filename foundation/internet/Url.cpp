#include "foundation/internet/Url.h"

#include "foundation/errors/Checks.h"
#include "foundation/internet/AttributeKeeper.h"
#include "foundation/internet/FileStreamT.h"
#include "foundation/system/AutoHandle.h"
#include "foundation/system/OSVersion.h"
#include "foundation/system/ShellHelpers.h"

#include <wininet.h>

#include <atomic>
#include <cwchar>
#include <vector>

namespace Internet {

namespace {

const wchar_t kAgent[] = L"Mozilla/4.0 (compatible)";
const DWORD kTimeoutMs = 20000;
const DWORD kReadSize = 2048;
const DWORD kRetryPauseMs = 10;
// Looking into the message queue costs about as much as a read (a server call
// under Wine): the thread's messages are dispatched once per this interval
// between reads, which keeps its windows responsive at a fraction of the cost.
const ULONGLONG kDispatchIntervalMs = 10;
// A read that keeps failing ends the download after this many tries in a
// row, or once the failures have lasted a time-out, instead of spinning for
// ever while the status stays readable.
const int kMaxFailedReads = 10;

typedef STLHelpers::AutoHandleT<HINTERNET, ::InternetCloseHandle, STLHelpers::WinHandleValidator> InternetHandle;

struct AddressParts {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host;
    INTERNET_PORT port = 0;
    std::wstring user;
    std::wstring password;
    std::wstring pathAndQuery;
};

// False for anything but an HTTP or HTTPS address with a host.
bool ParseAddress(const std::wstring& address, AddressParts& parts) {
    URL_COMPONENTSW components = {};
    components.dwStructSize = sizeof components;
    components.dwSchemeLength = 1;
    components.dwHostNameLength = 1;
    components.dwUserNameLength = 1;
    components.dwPasswordLength = 1;
    components.dwUrlPathLength = 1;
    components.dwExtraInfoLength = 1;
    if (address.empty() || !::InternetCrackUrlW(address.c_str(), static_cast<DWORD>(address.size()), 0, &components))
        return false;
    if ((components.nScheme != INTERNET_SCHEME_HTTP && components.nScheme != INTERNET_SCHEME_HTTPS) ||
        components.dwHostNameLength == 0)
        return false;
    const auto part = [](const wchar_t* text, DWORD length) {
        return text ? std::wstring(text, length) : std::wstring();
    };
    parts.scheme = components.nScheme;
    parts.host = part(components.lpszHostName, components.dwHostNameLength);
    parts.port = components.nPort;
    parts.user = part(components.lpszUserName, components.dwUserNameLength);
    parts.password = part(components.lpszPassword, components.dwPasswordLength);
    parts.pathAndQuery = part(components.lpszUrlPath, components.dwUrlPathLength) +
                         part(components.lpszExtraInfo, components.dwExtraInfoLength);
    if (parts.pathAndQuery.empty())
        parts.pathAndQuery = L"/";
    return true;
}

bool IsSecureAddress(const std::wstring& address) {
    AddressParts parts;
    return ParseAddress(address, parts) && parts.scheme == INTERNET_SCHEME_HTTPS;
}

// The address WinInet ended at after redirects; empty when it cannot tell.
std::wstring FinalAddress(HINTERNET request) {
    DWORD bytes = 0;
    ::InternetQueryOptionW(request, INTERNET_OPTION_URL, nullptr, &bytes);
    if (bytes == 0)
        return std::wstring();
    std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1);
    bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
    if (!::InternetQueryOptionW(request, INTERNET_OPTION_URL, buffer.data(), &bytes))
        return std::wstring();
    return std::wstring(buffer.data());
}

void SwitchOnlineWhenDisconnectedByUser() {
    DWORD state = 0;
    DWORD size = sizeof state;
    if (::InternetQueryOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &state, &size) &&
        (state & INTERNET_STATE_DISCONNECTED_BY_USER)) {
        INTERNET_CONNECTED_INFO connected = {INTERNET_STATE_CONNECTED, 0};
        ::InternetSetOptionW(nullptr, INTERNET_OPTION_CONNECTED_STATE, &connected, sizeof connected);
    }
}

void SetTimeouts(HINTERNET handle) {
    DWORD timeout = kTimeoutMs;
    ::InternetSetOptionW(handle, INTERNET_OPTION_CONNECT_TIMEOUT, &timeout, sizeof timeout);
    ::InternetSetOptionW(handle, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof timeout);
    ::InternetSetOptionW(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
}

void SetSessionOptions(HINTERNET session, bool decode) {
    SetTimeouts(session);
    if (decode) {
        BOOL on = TRUE;
        ::InternetSetOptionW(session, INTERNET_OPTION_HTTP_DECODING, &on, sizeof on);
    }
}

bool QueryStatus(HINTERNET request, DWORD& status) {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr))
        return false;
    status = value;
    return true;
}

// Read as text: the number form of the query stops at 32 bits.
ULONGLONG QueryContentLength(HINTERNET request) {
    wchar_t text[32] = {};
    DWORD size = sizeof text;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr))
        return 0;
    wchar_t* end = nullptr;
    const ULONGLONG length = std::wcstoull(text, &end, 10);
    return end != text && *end == L'\0' ? length : 0;
}

bool HasContentEncoding(HINTERNET request) {
    wchar_t text[64] = {};
    DWORD size = sizeof text;
    return ::HttpQueryInfoW(request, HTTP_QUERY_CONTENT_ENCODING, text, &size, nullptr) ||
           ::GetLastError() == ERROR_INSUFFICIENT_BUFFER;
}

// Dispatches every waiting message of the thread. False when WM_QUIT came:
// it is posted again for the thread's own loop, and the download ends.
bool DispatchWaitingMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return true;
}

// Empty when the answer has no such header.
std::wstring QueryLastModified(HINTERNET request) {
    wchar_t text[128] = {};
    DWORD size = sizeof text;
    if (!::HttpQueryInfoW(request, HTTP_QUERY_LAST_MODIFIED, text, &size, nullptr))
        return std::wstring();
    return text;
}

class StreamCallback : public Url::IDownloadCallback {
public:
    StreamCallback(const boost::shared_ptr<STLHelpers_::IStream>& pStream, Url::IDownloadCallback* pObserver)
        : m_pStream(pStream), m_pObserver(pObserver) {}
    void OnData(const Url::Chunk* pChunk, ULONGLONG bytesSoFar, ULONGLONG contentLength, bool& cancel) override {
        DWORD written = 0;
        if (!m_pStream->Write(pChunk->pData, pChunk->length, &written) || written != pChunk->length) {
            cancel = true;
            return;
        }
        if (m_pObserver)
            m_pObserver->OnData(pChunk, bytesSoFar, contentLength, cancel);
    }

private:
    boost::shared_ptr<STLHelpers_::IStream> m_pStream;
    Url::IDownloadCallback* m_pObserver;
};

bool DownloadIntoStream(Url& url, const boost::shared_ptr<STLHelpers_::IStream>& pStream,
                        Url::IDownloadCallback* pObserver) {
    StreamCallback callback(pStream, pObserver);
    DWORD status = 0;
    return url.Download(callback, status);
}

// Beside the target, so that replacing it is a rename on the same volume.
std::wstring TemporaryPathFor(const std::wstring& path) {
    static std::atomic<unsigned> s_counter{0};
    return path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"-" + std::to_wstring(++s_counter) +
           L".download";
}

class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring path) : m_path(std::move(path)) {}
    ~TemporaryFile() { ::DeleteFileW(m_path.c_str()); }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

}  // namespace

DWORD _DownloadRequestFlags(bool isSecure) {
    const DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_EXISTING_CONNECT |
                        INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_NO_UI;
    return isSecure ? flags | INTERNET_FLAG_SECURE : flags;
}

Url::Url(const wlitestring& address) : m_decode(false), m_url(address.str()) {}

void Url::AddAcceptEncoding(int kind) {
    if (kind != EncodingCompressed || !System::IsVistaOrLater())
        return;
    m_headers += L"Accept-Encoding: gzip, deflate\r\n";
    m_decode = true;
}

bool Url::SetIfModifiedSince(const wlitestring& date) {
    const std::wstring text = date.str();
    if (text.find_first_of(L"\r\n") != std::wstring::npos)
        return false;
    m_headers += L"If-Modified-Since: " + text + L"\r\n";
    return true;
}

bool Url::Download(IDownloadCallback& callback, DWORD& status) {
    status = 0;
    m_lastModified.clear();
    SwitchOnlineWhenDisconnectedByUser();

    AddressParts address;
    if (!ParseAddress(m_url, address))
        return false;
    const bool isSecure = address.scheme == INTERNET_SCHEME_HTTPS;

    InternetHandle session(::InternetOpenW(kAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session.Get())
        return false;
    SetSessionOptions(session.Get(), m_decode);

    // Built per request, so that a Url can be downloaded again.
    const std::wstring headers = m_headers + L"Connection: Close";
    // What InternetOpenUrlW does, in its three steps: only a request handle
    // made before sending takes the time-outs everywhere (Wine's WinInet
    // ignores those of the session for reads).
    InternetHandle connection(::InternetConnectW(session.Get(), address.host.c_str(), address.port,
                                                 address.user.empty() ? nullptr : address.user.c_str(),
                                                 address.password.empty() ? nullptr : address.password.c_str(),
                                                 INTERNET_SERVICE_HTTP, 0, 1));
    if (!connection.Get())
        return false;
    const wchar_t* acceptTypes[] = {L"*/*", nullptr};
    InternetHandle request(::HttpOpenRequestW(connection.Get(), L"GET", address.pathAndQuery.c_str(), nullptr,
                                              nullptr, acceptTypes, _DownloadRequestFlags(isSecure), 1));
    if (!request.Get())
        return false;
    SetTimeouts(request.Get());
    if (!::HttpSendRequestW(request.Get(), headers.c_str(), static_cast<DWORD>(-1), nullptr, 0))
        return false;
    // WinInet may follow a redirect from HTTPS to HTTP without asking: such a
    // body is not taken.
    if (isSecure && !IsSecureAddress(FinalAddress(request.Get())))
        return false;

    if (!QueryStatus(request.Get(), status) || status != HTTP_STATUS_OK)
        return false;
    m_lastModified = QueryLastModified(request.Get());
    const ULONGLONG contentLength = QueryContentLength(request.Get());
    // A body shorter than its Content-Length is a broken one. An inflated
    // body is longer than the Content-Length the server sent: not compared.
    const bool lengthCounts = contentLength != 0 && !(m_decode && HasContentEncoding(request.Get()));

    BYTE buffer[kReadSize];
    ULONGLONG total = 0;
    int failedReads = 0;
    ULONGLONG failingSince = 0;
    ULONGLONG lastDispatch = 0;
    DWORD read = 0;
    BOOL isRead = ::InternetReadFile(request.Get(), buffer, kReadSize, &read);
    DWORD current = 0;
    while (QueryStatus(request.Get(), current)) {
        if (current != HTTP_STATUS_OK)
            return false;
        if (isRead && read == 0)  // the end of the body
            return !lengthCounts || total == contentLength;
        const ULONGLONG now = ::GetTickCount64();
        if (now - lastDispatch >= kDispatchIntervalMs) {
            lastDispatch = now;
            if (!DispatchWaitingMessages())
                return false;
        }
        if (read > 0) {
            failedReads = 0;
            total += read;
            const Chunk chunk = {buffer, read};
            bool cancel = false;
            callback.OnData(&chunk, total, contentLength, cancel);
            if (cancel)
                return false;
        } else {
            if (failedReads == 0)
                failingSince = now;
            if (++failedReads >= kMaxFailedReads || now - failingSince >= kTimeoutMs)
                return false;
            ::Sleep(kRetryPauseMs);
        }
        read = 0;
        isRead = ::InternetReadFile(request.Get(), buffer, kReadSize, &read);
    }
    return false;
}

bool Url::DownloadToStream(const boost::shared_ptr<STLHelpers_::IStream>& pStream) {
    CHECK_ASSERT(pStream);
    if (!pStream)  // the module's sink may let an assertion pass
        return false;
    return DownloadIntoStream(*this, pStream, nullptr);
}

bool Url::DownloadToFile(const wlitestring& path, IDownloadCallback* pObserver) {
    const std::wstring target = path.str();
    CHECK_ERROR(!target.empty());
    TemporaryFile temporary(TemporaryPathFor(target));
    bool isDownloaded = DownloadIntoStream(
        *this,
        FileSystem::OpenFileStream(temporary.Path(), STLHelpers_::OpenCreate, STLHelpers_::AccessWrite,
                                   STLHelpers::CustomValues()),
        pObserver);
    if (!isDownloaded)
        return false;
    // A read-only target is replaced and read-only again afterwards, as when
    // written through a stream.
    FileSystem::AttributeKeeper keeper(target);
    CHECK_ERROR_WIN32(::MoveFileExW(temporary.Path().c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING));
    return true;
}

bool Url::OpenInBrowser() {
    const std::wstring& url = m_url;
    CHECK_ERROR(!url.empty());
    // Only web addresses: the shell would as readily run a program or open
    // a document named by a file path or another scheme.
    AddressParts parts;
    CHECK_ERROR(ParseAddress(url, parts));
    const INT_PTR res = System::ShellExecuteInstance(L"open", url, wlitestring(), SW_SHOWNORMAL);
    CHECK_ERROR(res > 32);
    return true;
}

bool IsWebAddress(const std::wstring& address) {
    AddressParts parts;
    return ParseAddress(address, parts);
}

std::wstring AddDefaultScheme(const wlitestring& address) {
    const std::wstring text = address.str();
    if (text.empty() || text.find(L"://") != std::wstring::npos)
        return text;
    return L"http://" + text;
}

}  // namespace Internet
