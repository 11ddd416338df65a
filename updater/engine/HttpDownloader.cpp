#include "updater/engine/HttpDownloader.h"

#include "updater/engine/VerboseFileWriter.h"

#include <atlutil.h>

#include <algorithm>
#include <atomic>
#include <vector>

namespace Engine {

const wchar_t kUpdaterUserAgent[] = L"Mozilla/4.0 (MSIE 6.0); dtaglim:128";

namespace {

// How often a written piece of the body is told to the waiting Download.
const ULONGLONG kPieceTellingMs = 250;

DWORD QueryNumber(HINTERNET request, DWORD infoLevel, bool& isPresent) {
    DWORD value = static_cast<DWORD>(-1);
    DWORD size = sizeof value;
    isPresent = ::WinHttpQueryHeaders(request, infoLevel | WINHTTP_QUERY_FLAG_NUMBER, WINHTTP_HEADER_NAME_BY_INDEX,
                                      &value, &size, WINHTTP_NO_HEADER_INDEX) &&
                size == sizeof value;
    return value;
}

}  // namespace

// What WinHTTP's callback and Download share of one request. During the
// body the callback itself reads each piece WinHTTP reports available and
// hands it to the writer, so that no piece waits for a thread switch; Download
// only waits for the end, a piece, a cancel or a limit.
struct HttpDownloader::Completion {
    Completion() { ::InitializeCriticalSection(&lock); }
    ~Completion() { ::DeleteCriticalSection(&lock); }
    Completion(const Completion&) = delete;
    Completion& operator=(const Completion&) = delete;

    // A step ended, the body's included; isOk says how.
    void EndStep(bool ok) {
        isOk.store(ok);
        ::SetEvent(stepDone.Get());
    }
    // Under the lock: whether the body goes on with `count` bytes (it ends at 0).
    bool GoesOn(DWORD count);
    void OnDataAvailable(DWORD available);
    void OnReadComplete(DWORD read);

    STLHelpers::AutoHandle stepDone{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    STLHelpers::AutoHandle pieceDone{::CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // a piece was written
    std::atomic<bool> isOk{false};
    HINTERNET request = nullptr;

    CRITICAL_SECTION lock;  // guards what follows: the body's reading and writing
    VerboseFileWriter* pWriter = nullptr;  // set while the body is read
    LONGLONG remaining = -1;               // of the announced body; -1: not announced
    bool isReleased = false;               // Download has let go: nothing more is done
    ULONGLONG lastPieceTold = 0;
    std::vector<BYTE> buffer;              // a read cut short may still fill it
};

namespace {

struct Section {
    explicit Section(CRITICAL_SECTION& section) : m_section(section) { ::EnterCriticalSection(&m_section); }
    ~Section() { ::LeaveCriticalSection(&m_section); }
    CRITICAL_SECTION& m_section;
};

}  // namespace

bool HttpDownloader::Completion::GoesOn(DWORD count) {
    if (isReleased || !pWriter)
        return false;
    if (count == 0)
        EndStep(true);  // the end of the body
    return count != 0;
}

void HttpDownloader::Completion::OnDataAvailable(DWORD available) {
    Section guard(lock);
    // An announced body ends at its length: what a server sends beyond it is
    // no part of the answer, and is not asked for.
    if (remaining >= 0)
        available = static_cast<DWORD>(std::min<LONGLONG>(available, remaining));
    if (!GoesOn(available))
        return;
    // Only what is there: a larger read would wait for more to arrive, and
    // hold this thread while it waits.
    const DWORD piece = std::min(available, kHttpReadSize);
    if (buffer.size() < piece)
        buffer.resize(piece);
    if (!::WinHttpReadData(request, buffer.data(), piece, nullptr))
        EndStep(false);
}

void HttpDownloader::Completion::OnReadComplete(DWORD read) {
    Section guard(lock);
    if (!GoesOn(read))
        return;
    if (!pWriter->Write(buffer.data(), read)) {
        EndStep(false);
        return;
    }
    if (remaining >= 0) {
        remaining -= std::min<LONGLONG>(read, remaining);
        if (remaining == 0) {
            EndStep(true);
            return;
        }
    }
    // The waiting Download needs no word of every piece: one now and then
    // keeps its limit from running out, and costs no call per piece.
    const ULONGLONG now = ::GetTickCount64();
    if (now - lastPieceTold >= kPieceTellingMs) {
        lastPieceTold = now;
        ::SetEvent(pieceDone.Get());
    }
    if (!::WinHttpQueryDataAvailable(request, nullptr))
        EndStep(false);
}

HttpDownloader::HttpDownloader(const std::wstring& url, VerboseFileWriter* pWriter)
    : m_url(url.find(L"://") == std::wstring::npos ? L"http://" + url : url), m_pWriter(pWriter) {}

HttpDownloader::~HttpDownloader() {
    Close();
}

bool HttpDownloader::Download() {
    const bool isWhole = Transfer() && m_pWriter->Finish();
    Close();
    return isWhole;
}

bool HttpDownloader::Transfer() {
    if (IsCancelled())
        return false;
    CUrl address;
    if (!address.CrackUrl(m_url.c_str(), 0))
        return false;
    const bool isSecure = address.GetScheme() == ATL::ATL_URL_SCHEME_HTTPS;
    if ((address.GetScheme() != ATL::ATL_URL_SCHEME_HTTP && !isSecure) || address.GetHostNameLength() == 0)
        return false;

    m_session.Reset(::WinHttpOpen(kUpdaterUserAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                  WINHTTP_NO_PROXY_BYPASS, WINHTTP_FLAG_ASYNC));
    if (!m_session.IsValid())
        return false;
    // WinHTTP's own limits, in case its threads outlive a step cut short here.
    ::WinHttpSetTimeouts(m_session.Get(), kConnectTimeoutMs, kConnectTimeoutMs, kSendTimeoutMs,
                         std::max(kHeadersTimeoutMs, kBodyTimeoutMs));
    m_connection.Reset(::WinHttpConnect(m_session.Get(), address.GetHostName(), address.GetPortNumber(), 0));
    if (!m_connection.IsValid())
        return false;

    std::wstring object = std::wstring(address.GetUrlPath()) + address.GetExtraInfo();
    if (object.empty() || object[0] != L'/')
        object.insert(0, L"/");
    const DWORD flags = WINHTTP_FLAG_REFRESH | (isSecure ? WINHTTP_FLAG_SECURE : 0);
    m_request.Reset(::WinHttpOpenRequest(m_connection.Get(), L"GET", object.c_str(), nullptr, WINHTTP_NO_REFERER,
                                         WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
    if (!m_request.IsValid() || !Watch())
        return false;
    DWORD redirects = kMaxRedirects;
    ::WinHttpSetOption(m_request.Get(), WINHTTP_OPTION_MAX_HTTP_AUTOMATIC_REDIRECTS, &redirects, sizeof redirects);
    if (!::WinHttpSendRequest(m_request.Get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0,
                              reinterpret_cast<DWORD_PTR>(m_pCompletion)) ||
        Await(kConnectTimeoutMs + kSendTimeoutMs) != StepEnd::Done)
        return false;
    if (!::WinHttpReceiveResponse(m_request.Get(), nullptr) || Await(kHeadersTimeoutMs) != StepEnd::Done)
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
    {
        Section guard(m_pCompletion->lock);
        m_pCompletion->pWriter = m_pWriter;
        m_pCompletion->remaining = total;
    }
    if (!::WinHttpQueryDataAvailable(m_request.Get(), nullptr) || Await(kBodyTimeoutMs) != StepEnd::Done)
        return false;
    Release();
    // A connection that drops reads as a clean end: the count tells. An
    // empty answer is no setup package either.
    const unsigned long written = m_pWriter->GetBytesWritten();
    return written > 0 && (total < 0 || written == static_cast<unsigned long>(total));
}

bool HttpDownloader::Watch() {
    auto* pCompletion = new Completion;
    DWORD_PTR context = reinterpret_cast<DWORD_PTR>(pCompletion);
    pCompletion->request = m_request.Get();
    if (!pCompletion->stepDone.IsValid() || !pCompletion->pieceDone.IsValid() ||
        !::WinHttpSetOption(m_request.Get(), WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context) ||
        ::WinHttpSetStatusCallback(m_request.Get(), &HttpDownloader::OnStatus,
                                   WINHTTP_CALLBACK_FLAG_ALL_COMPLETIONS | WINHTTP_CALLBACK_FLAG_HANDLES,
                                   0) == WINHTTP_INVALID_STATUS_CALLBACK) {
        delete pCompletion;
        return false;
    }
    m_pCompletion = pCompletion;
    return true;
}

HttpDownloader::StepEnd HttpDownloader::Await(DWORD limitMs) {
    const HANDLE waits[] = {m_pCompletion->stepDone.Get(), m_pCompletion->pieceDone.Get(), m_cancel};
    for (;;) {
        switch (::WaitForMultipleObjects(m_cancel ? 3 : 2, waits, FALSE, limitMs)) {
        case WAIT_OBJECT_0:
            return m_pCompletion->isOk.load() ? StepEnd::Done : StepEnd::Failed;
        case WAIT_OBJECT_0 + 1:
            continue;  // a piece of the body: its limit starts again
        case WAIT_OBJECT_0 + 2:
            return StepEnd::Cancelled;
        default:
            return StepEnd::TimedOut;
        }
    }
}

void HttpDownloader::Release() {
    if (!m_pCompletion)
        return;
    Section guard(m_pCompletion->lock);
    m_pCompletion->isReleased = true;
}

bool HttpDownloader::IsCancelled() const {
    return m_cancel && ::WaitForSingleObject(m_cancel, 0) == WAIT_OBJECT_0;
}

void CALLBACK HttpDownloader::OnStatus(HINTERNET, DWORD_PTR context, DWORD status, LPVOID pInfo, DWORD infoLength) {
    auto* pCompletion = reinterpret_cast<Completion*>(context);
    if (!pCompletion)
        return;
    switch (status) {
    case WINHTTP_CALLBACK_STATUS_SENDREQUEST_COMPLETE:
    case WINHTTP_CALLBACK_STATUS_HEADERS_AVAILABLE:
        pCompletion->EndStep(true);
        break;
    case WINHTTP_CALLBACK_STATUS_DATA_AVAILABLE:
        pCompletion->OnDataAvailable(pInfo ? *static_cast<const DWORD*>(pInfo) : 0);
        break;
    case WINHTTP_CALLBACK_STATUS_READ_COMPLETE:
        pCompletion->OnReadComplete(infoLength);
        break;
    case WINHTTP_CALLBACK_STATUS_REQUEST_ERROR:
        pCompletion->EndStep(false);
        break;
    case WINHTTP_CALLBACK_STATUS_HANDLE_CLOSING:
        // The last word on the request: nothing reports into the record after it.
        delete pCompletion;
        break;
    default:
        break;
    }
}

void HttpDownloader::Close() {
    const bool wasOpen = m_request.IsValid() || m_connection.IsValid() || m_session.IsValid();
    // First: a callback in progress ends its piece, and none touches the writer after.
    Release();
    m_request.Reset();
    m_pCompletion = nullptr;
    m_connection.Reset();
    m_session.Reset();
    if (wasOpen && m_pWriter)
        m_pWriter->Abort();
}

}  // namespace Engine
