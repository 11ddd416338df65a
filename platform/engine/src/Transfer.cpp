#include "Engine.h"

#include <wininet.h>

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
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HINTERNET m_handle;
};

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
    fileName = slash == std::wstring::npos ? path : path.substr(slash + 1);
    return true;
}

int FetchUrl(const std::wstring& url, const TransferProgress& progress, std::uint32_t& detail, RunControl& control) {
    detail = 0;
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof(parts);
    parts.dwHostNameLength = 1;
    parts.dwUrlPathLength = 1;
    parts.dwExtraInfoLength = 1;
    if (!::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts))
        return ResultTransferFailed;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring object(parts.lpszUrlPath ? parts.lpszUrlPath : L"", parts.dwUrlPathLength);
    if (parts.lpszExtraInfo)
        object.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (object.empty())
        object = L"/";

    // Direct: the engine does not go through a proxy the environment names.
    InternetHandle session(::InternetOpenW(L"EngineKavenna", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session)
        return detail = ::GetLastError(), ResultTransferFailed;
    InternetHandle connection(
        ::InternetConnectW(session.Get(), host.c_str(), parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection)
        return detail = ::GetLastError(), ResultTransferFailed;
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
    if (parts.nScheme == INTERNET_SCHEME_HTTPS)
        flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(
        ::HttpOpenRequestW(connection.Get(), L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request)
        return detail = ::GetLastError(), ResultTransferFailed;
    // Time-outs count only when set on the request before it is sent.
    DWORD timeout = 15000;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        ::InternetSetOptionW(request.Get(), option, &timeout, sizeof(timeout));
    if (!::HttpSendRequestW(request.Get(), nullptr, 0, nullptr, 0))
        return detail = ::GetLastError(), ResultTransferFailed;
    DWORD status = 0;
    QueryNumber(request.Get(), HTTP_QUERY_STATUS_CODE, status);
    detail = status;
    if (status == 404 || status == 410)
        return ResultNotRepeatable;
    if (status < 200 || status >= 300)
        return ResultTransferFailed;
    DWORD length = 0;
    const bool hasLength = QueryNumber(request.Get(), HTTP_QUERY_CONTENT_LENGTH, length);
    progress.onLength(hasLength ? length : 0);

    std::string buffer(64 * 1024, '\0');
    std::uint64_t received = 0;
    for (;;) {
        if (control.IsStopped())
            return ResultStopped;
        DWORD read = 0;
        if (!::InternetReadFile(request.Get(), &buffer[0], static_cast<DWORD>(buffer.size()), &read)) {
            detail = ::GetLastError();
            return ResultTransferFailed;
        }
        if (read == 0)
            break;
        if (!progress.write(buffer.data(), read))
            return control.IsStopped() ? ResultStopped : ResultTransferFailed;
        received += read;
        progress.onChunk();
    }
    // A dropped connection reads as a clean end: only the count tells.
    if (hasLength && received != length)
        return ResultTransferFailed;
    return ResultComplete;
}

}  // namespace KavennaEngine
