#include "Engine.h"

#include "FailureTexts.h"
#include "FileNames.h"

#include <wininet.h>

#include <algorithm>
#include <string>

namespace KavennaEngine {

namespace {

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : m_handle(handle) {}
    ~InternetHandle() {
        if (m_handle)
            ::InternetCloseHandle(m_handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET Get() const { return m_handle; }
    void Reset(HINTERNET handle) {
        if (m_handle)
            ::InternetCloseHandle(m_handle);
        m_handle = handle;
    }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HINTERNET m_handle;
};

// The longest a connection, a request or a wait for the next piece may take.
const DWORD kTransferTimeoutMs = 15000;
const DWORD kLargestRead = 256 * 1024;

bool QueryNumber(HINTERNET request, DWORD info, DWORD& value) {
    DWORD size = sizeof(value);
    return ::HttpQueryInfoW(request, info | HTTP_QUERY_FLAG_NUMBER, &value, &size, nullptr) != FALSE;
}

}  // namespace

bool SplitAddress(const std::wstring& url, std::wstring& host, std::wstring& fileName) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    if (url.empty() || !::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return false;
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)
        return false;
    host.assign(parts.lpszHostName, parts.dwHostNameLength);
    if (host.empty())
        return false;
    std::wstring path(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    const std::size_t query = path.find_first_of(L"?#");
    if (query != std::wstring::npos)
        path.resize(query);
    const std::size_t slash = path.rfind(L'/');
    fileName = DecodeEscapes(slash == std::wstring::npos ? path : path.substr(slash + 1));
    return true;
}

namespace {

bool IsRedirect(DWORD status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

std::wstring QueryText(HINTERNET request, DWORD info) {
    DWORD size = 0;
    ::HttpQueryInfoW(request, info, nullptr, &size, nullptr);
    if (size == 0)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    if (!::HttpQueryInfoW(request, info, &text[0], &size, nullptr))
        return {};
    text.resize(size / sizeof(wchar_t));
    return text;
}

// `location` taken relative to `base`.
std::wstring Resolve(const std::wstring& base, const std::wstring& location) {
    DWORD size = static_cast<DWORD>(base.size() + location.size() + 64);
    std::wstring combined(size, L'\0');
    if (!::InternetCombineUrlW(base.c_str(), location.c_str(), &combined[0], &size, ICU_NO_ENCODE)) {
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
            return {};
        combined.assign(size + 1, L'\0');
        if (!::InternetCombineUrlW(base.c_str(), location.c_str(), &combined[0], &size, ICU_NO_ENCODE))
            return {};
    }
    combined.resize(size);
    return combined;
}

// The platform names a time-out in more than one way, and some not at all:
// a call that failed as its limit ran out timed out.
bool IsTimeout(DWORD error, DWORD elapsedMs) {
    return error == ERROR_INTERNET_TIMEOUT || error == WSAETIMEDOUT || elapsedMs + 500 >= kTransferTimeoutMs;
}

bool IsConnectionLost(DWORD error) {
    return error == ERROR_INTERNET_CONNECTION_ABORTED || error == ERROR_INTERNET_CONNECTION_RESET ||
           error == WSAECONNRESET || error == WSAECONNABORTED;
}

int Failed(Result& outcome, DWORD detail, std::wstring text) {
    outcome.detail = detail;
    outcome.text = std::move(text);
    return ResultTransferFailed;
}

int NetworkFailed(Result& outcome) {
    const DWORD error = ::GetLastError();
    return Failed(outcome, error, NetworkFailureText(error));
}

// One request for `address`; the opened request in `request`, or a failure.
int Request(HINTERNET session, const std::wstring& address, InternetHandle& connection, InternetHandle& request,
            Result& outcome) {
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) ||
        parts.dwHostNameLength == 0)
        return Failed(outcome, ERROR_INTERNET_INVALID_URL, NetworkFailureText(ERROR_INTERNET_INVALID_URL));
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (parts.lpszExtraInfo)
        object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty())
        object = L"/";

    connection.Reset(
        ::InternetConnectW(session, host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return NetworkFailed(outcome);
    // Redirects are followed here, counted.
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI |
                  INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTO_REDIRECT;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    request.Reset(::HttpOpenRequestW(connection.Get(), L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request)
        return NetworkFailed(outcome);
    // Time-outs count only when set on the request before it is sent.
    DWORD timeout = kTransferTimeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        ::InternetSetOptionW(request.Get(), option, &timeout, sizeof(timeout));
    const DWORD start = ::GetTickCount();
    if (!::HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0)) {
        const DWORD error = ::GetLastError();
        if (IsTimeout(error, ::GetTickCount() - start))
            return Failed(outcome, error, NetworkFailureText(ERROR_INTERNET_TIMEOUT));
        return Failed(outcome, error, NetworkFailureText(error));
    }
    return ResultComplete;
}

}  // namespace

// Reads the body as it arrives (a read larger than what is there would wait
// for more), handing each piece to `progress`. An announced body ends at its
// length: bytes a server sends beyond it are no part of the answer, and the
// platform hands them on only now and then, so they are never asked for.
int ReadBody(HINTERNET request, DWORD announced, const TransferProgress& progress, RunControl& control,
             std::uint64_t& received, Result& outcome) {
    std::string buffer(kLargestRead, '\0');
    for (;;) {
        if (control.IsStopped())
            return ResultStopped;
        if (announced > 0 && received >= announced)
            return ResultComplete;
        const DWORD start = ::GetTickCount();
        DWORD available = 0;
        DWORD read = 0;
        bool ok = ::InternetQueryDataAvailable(request, &available, 0, 0) != FALSE;
        DWORD wanted = std::min<DWORD>(available, kLargestRead);
        if (announced > 0)
            wanted = static_cast<DWORD>(std::min<std::uint64_t>(wanted, announced - received));
        if (ok && wanted > 0)
            ok = ::InternetReadFile(request, &buffer[0], wanted, &read) != FALSE;
        if (!ok) {
            const DWORD error = ::GetLastError();
            if (control.IsStopped())
                return ResultStopped;
            if (IsTimeout(error, ::GetTickCount() - start))
                return Failed(outcome, error, StalledText(received, announced));
            if (IsConnectionLost(error) && announced > 0)
                return Failed(outcome, error, CutShortText(received, announced));
            return Failed(outcome, error, NetworkFailureText(error));
        }
        if (read == 0)
            return ResultComplete;
        if (!progress.write(buffer.data(), read))
            return control.IsStopped() ? ResultStopped : ResultTransferFailed;
        received += read;
        progress.onChunk();
    }
}

int FetchUrl(const std::wstring& url, const TransferProgress& progress, RunControl& control, Result& outcome) {
    outcome.detail = 0;
    outcome.text.clear();
    // Direct: the engine does not go through a proxy the environment names.
    InternetHandle session(::InternetOpenW(L"EngineKavenna", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session)
        return NetworkFailed(outcome);
    std::wstring address = url;
    for (int redirects = 0;; ++redirects) {
        if (control.IsStopped())
            return ResultStopped;
        InternetHandle connection, request;
        const int code = Request(session.Get(), address, connection, request, outcome);
        if (code != ResultComplete)
            return control.IsStopped() ? int(ResultStopped) : code;
        DWORD status = 0;
        QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE, status);
        outcome.detail = status;
        if (IsRedirect(status)) {
            if (redirects == kMaxRedirects)
                return Failed(outcome, status, TooManyRedirectsText(kMaxRedirects));
            const std::wstring next = Resolve(address, QueryText(request.Get(), HTTP_QUERY_LOCATION));
            if (next.empty())
                return Failed(outcome, status, L"The server sent the download on without saying where.");
            address = next;
            continue;
        }
        if (status == 404 || status == 410) {
            outcome.text = StatusText(status);
            return ResultNotRepeatable;
        }
        if (status < 200 || status >= 300)
            return Failed(outcome, status, StatusText(status));
        DWORD length = 0;
        const bool hasLength = QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH, length);
        if (hasLength && length == 0)
            return Failed(outcome, status, EmptyBodyText());
        progress.onLength(hasLength ? length : 0);

        std::uint64_t received = 0;
        const int bodyCode = ReadBody(request.Get(), hasLength ? length : 0, progress, control, received, outcome);
        if (bodyCode != ResultComplete)
            return bodyCode;
        // A dropped connection reads as a clean end: only the count tells.
        if (hasLength && received < length)
            return Failed(outcome, status, CutShortText(received, length));
        if (received == 0)
            return Failed(outcome, status, EmptyBodyText());
        return ResultComplete;
    }
}

}  // namespace KavennaEngine
