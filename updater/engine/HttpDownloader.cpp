#include "updater/engine/HttpDownloader.h"

#include "updater/engine/VerboseFileWriter.h"

#include <atlutil.h>

#include <algorithm>
#include <vector>

namespace Engine {

const wchar_t kUpdaterUserAgent[] = L"Mozilla/4.0 (MSIE 6.0); dtaglim:128";

namespace {

// Bounds for each step, so that a server that stops answering ends the
// download instead of holding the Updater (and a user's cancel) for ever.
const int kResolveTimeoutMs = 30000;
const int kConnectTimeoutMs = 30000;
const int kSendTimeoutMs = 30000;
const int kReceiveTimeoutMs = 60000;

DWORD QueryNumber(HINTERNET request, DWORD infoLevel, bool& isPresent) {
    DWORD value = static_cast<DWORD>(-1);
    DWORD size = sizeof value;
    isPresent = ::WinHttpQueryHeaders(request, infoLevel | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                                      &value, &size, WINHTTP_NO_HEADER_INDEX) &&
                size == sizeof value;
    return value;
}

}  // namespace

HttpDownloader::HttpDownloader(const std::wstring& url, VerboseFileWriter* pWriter)
    : m_url(url.find(L"://") == std::wstring::npos ? L"http://" + url : url), m_pWriter(pWriter) {}

HttpDownloader::~HttpDownloader() {
    Close();
}

bool HttpDownloader::Download() {
    if (Transfer()) {
        m_pWriter->Finish();
        m_request.Reset();
        m_connection.Reset();
        m_session.Reset();
        return true;
    }
    Close();
    return false;
}

bool HttpDownloader::Transfer() {
    CUrl address;
    if (!address.CrackUrl(m_url.c_str(), 0))
        return false;
    const bool isSecure = address.GetScheme() == ATL::ATL_URL_SCHEME_HTTPS;
    if ((address.GetScheme() != ATL::ATL_URL_SCHEME_HTTP && !isSecure) || address.GetHostNameLength() == 0)
        return false;

    m_session.Reset(::WinHttpOpen(kUpdaterUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, 0));
    if (!m_session.IsValid())
        return false;
    ::WinHttpSetTimeouts(m_session.Get(), kResolveTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs, kReceiveTimeoutMs);
    m_connection.Reset(::WinHttpConnect(m_session.Get(), address.GetHostName(), address.GetPortNumber(), 0));
    if (!m_connection.IsValid())
        return false;

    std::wstring object = std::wstring(address.GetUrlPath()) + address.GetExtraInfo();
    if (object.empty() || object[0] != L'/')
        object.insert(0, L"/");
    const DWORD flags = WINHTTP_FLAG_REFRESH | (isSecure ? WINHTTP_FLAG_SECURE : 0);
    m_request.Reset(::WinHttpOpenRequest(m_connection.Get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                         WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    if (!m_request.IsValid())
        return false;
    if (!::WinHttpSendRequest(m_request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
        !::WinHttpReceiveResponse(m_request.Get(), nullptr))
        return false;

    // An error page is no setup package.
    bool hasStatus = false;
    const DWORD status = QueryNumber(m_request.Get(), WINHTTP_QUERY_STATUS_CODE, hasStatus);
    if (!hasStatus || status != HTTP_STATUS_OK)
        return false;
    bool hasLength = false;
    const DWORD length = QueryNumber(m_request.Get(), WINHTTP_QUERY_CONTENT_LENGTH, hasLength);
    const LONGLONG total = hasLength && length != 0 ? static_cast<LONGLONG>(length) : -1;

    if (!m_pWriter->Begin(total))
        return false;
    std::vector<BYTE> buffer;
    for (;;) {
        DWORD available = 0;
        if (!::WinHttpQueryDataAvailable(m_request.Get(), &available))
            return false;
        if (available == 0)
            break;
        // What is buffered is often only a few kilobytes; a read asks for
        // more, so that a large package takes fewer calls and progress reports.
        buffer.resize(std::max<size_t>(buffer.size(), std::max<DWORD>(available, kHttpReadSize)));
        DWORD read = 0;
        if (!::WinHttpReadData(m_request.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read))
            return false;
        if (read == 0)
            break;
        if (!m_pWriter->Write(buffer.data(), read))
            return false;
    }
    // A connection that drops reads as a clean end: the count tells.
    return total < 0 || m_pWriter->GetBytesWritten() == static_cast<unsigned long>(total);
}

void HttpDownloader::Close() {
    const bool wasOpen = m_request.IsValid() || m_connection.IsValid() || m_session.IsValid();
    m_request.Reset();
    m_connection.Reset();
    m_session.Reset();
    if (wasOpen && m_pWriter)
        m_pWriter->Abort();
}

}  // namespace Engine
