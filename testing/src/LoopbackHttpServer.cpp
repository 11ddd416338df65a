#include "testing/LoopbackHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace Testing {
namespace {

// Sockets are polled this often, so a stop is seen within this time.
const DWORD kPollMs = 50;
// How long the destructor waits for the server's threads.
const auto kStopWait = std::chrono::seconds(10);
// How long a finished connection waits for the client to close its side.
const DWORD kLingerMs = 1000;
// A pause before a reset, so the part of a body sent before it leaves first.
const DWORD kBeforeResetMs = 100;
const std::size_t kMaxHeadBytes = 64 * 1024;
const std::size_t kMaxRequestBody = 64 * 1024 * 1024;
const std::size_t kSendPiece = 1024 * 1024;

// One Winsock session for the whole process, never ended. With a session per
// server, one ending on its server's last thread while the next server's
// began has left the next socket() with WSANOTINITIALISED under Wine. The
// process's end cleans up.
void StartWinsockOnce() {
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        throw std::runtime_error("WSAStartup failed");
}

class Socket {
public:
    explicit Socket(SOCKET socket = INVALID_SOCKET) : m_socket(socket) {}
    Socket(Socket&& other) noexcept : m_socket(other.m_socket) { other.m_socket = INVALID_SOCKET; }
    Socket& operator=(Socket&&) = delete;
    ~Socket() {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
    }
    SOCKET Get() const { return m_socket; }
    bool Valid() const { return m_socket != INVALID_SOCKET; }
    bool MakeNonBlocking() {
        u_long on = 1;
        return ioctlsocket(m_socket, FIONBIO, &on) == 0;
    }
    // Closes with a reset (RST) instead of the orderly end of the stream.
    void Reset() {
        linger abort = {1, 0};
        setsockopt(m_socket, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&abort), sizeof abort);
        closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }

private:
    SOCKET m_socket;
};

class ManualEvent {
public:
    ManualEvent() : m_handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        if (!m_handle)
            throw std::runtime_error("CreateEvent failed");
    }
    ~ManualEvent() { CloseHandle(m_handle); }
    ManualEvent(const ManualEvent&) = delete;
    ManualEvent& operator=(const ManualEvent&) = delete;
    void Set() { SetEvent(m_handle); }
    bool IsSet() const { return WaitForSingleObject(m_handle, 0) == WAIT_OBJECT_0; }
    // True when set within timeoutMs.
    bool Wait(DWORD timeoutMs) const { return WaitForSingleObject(m_handle, timeoutMs) == WAIT_OBJECT_0; }

private:
    HANDLE m_handle;
};

const char* ReasonPhrase(int status) {
    switch (status) {
        case 200: return "OK";
        case 204: return "No Content";
        case 301: return "Moved Permanently";
        case 302: return "Found";
        case 303: return "See Other";
        case 304: return "Not Modified";
        case 307: return "Temporary Redirect";
        case 400: return "Bad Request";
        case 403: return "Forbidden";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        case 503: return "Service Unavailable";
        default: return "Status";
    }
}

std::string Trim(const std::string& text) {
    std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Parses the request line and header lines (without the blank line ending them).
bool ParseHead(const std::string& head, HttpRequest& request) {
    std::size_t lineEnd = head.find("\r\n");
    std::string line = head.substr(0, lineEnd);
    std::size_t space1 = line.find(' ');
    std::size_t space2 = space1 == std::string::npos ? std::string::npos : line.find(' ', space1 + 1);
    if (space1 == 0 || space2 == std::string::npos || space2 == space1 + 1 || line.find(' ', space2 + 1) != std::string::npos)
        return false;
    request.method = line.substr(0, space1);
    request.target = line.substr(space1 + 1, space2 - space1 - 1);
    request.version = line.substr(space2 + 1);
    if (request.version.compare(0, 5, "HTTP/") != 0)
        return false;
    while (lineEnd != std::string::npos) {
        std::size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        std::size_t colon = line.find(':');
        if (colon == 0 || colon == std::string::npos || line.find_first_of(" \t") < colon)
            return false;
        request.headers.emplace_back(line.substr(0, colon), Trim(line.substr(colon + 1)));
    }
    return true;
}

bool ParseLength(const std::string& text, std::size_t& length) {
    if (text.empty() || text.size() > 12 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    length = static_cast<std::size_t>(std::stoull(text));
    return true;
}

}  // namespace

struct LoopbackHttpServer::State {
    ManualEvent stop;

    mutable std::mutex lock;  // guards everything below
    mutable std::condition_variable changed;  // a request was recorded or a thread ended
    std::map<std::string, std::shared_ptr<const HttpAnswer>> answers;
    std::shared_ptr<const HttpAnswer> defaultAnswer = std::make_shared<HttpAnswer>(HttpAnswer::NotFound());
    std::vector<HttpRequest> requests;
    int liveThreads = 0;
    std::size_t answering = 0;
    std::size_t mostAnswering = 0;
};

namespace {

using State = LoopbackHttpServer::State;

// Runs body(state) on a detached thread that keeps the state alive; the count
// of live threads lets the server's destructor wait for them, bounded.
template <class Body>
void StartThread(const std::shared_ptr<State>& state, Body body) {
    {
        std::lock_guard<std::mutex> guard(state->lock);
        ++state->liveThreads;
    }
    try {
        std::thread([state, body = std::move(body)]() mutable {
            body(state);
            std::lock_guard<std::mutex> guard(state->lock);
            --state->liveThreads;
            state->changed.notify_all();
        }).detach();
    } catch (...) {
        std::lock_guard<std::mutex> guard(state->lock);
        --state->liveThreads;
        throw;
    }
}

// True when the socket can be read (or written); false on a stop, an error
// or after limitMs.
bool WaitReady(SOCKET socket, bool forWrite, const State& state, DWORD limitMs = INFINITE) {
    ULONGLONG start = GetTickCount64();
    while (!state.stop.IsSet()) {
        ULONGLONG elapsed = GetTickCount64() - start;
        if (limitMs != INFINITE && elapsed >= limitMs)
            return false;
        DWORD slice = limitMs == INFINITE ? kPollMs : std::min<DWORD>(kPollMs, limitMs - static_cast<DWORD>(elapsed));
        fd_set set;
        FD_ZERO(&set);
        FD_SET(socket, &set);
        timeval timeout = {0, static_cast<long>(slice * 1000)};
        int ready = select(0, forWrite ? nullptr : &set, forWrite ? &set : nullptr, nullptr, &timeout);
        if (ready == SOCKET_ERROR)
            return false;
        if (ready > 0)
            return true;
    }
    return false;
}

// Bytes received, 0 when the client closed its side, -1 on an error, a stop or after limitMs.
int Receive(SOCKET socket, char* buffer, int size, const State& state, DWORD limitMs = INFINITE) {
    for (;;) {
        if (!WaitReady(socket, false, state, limitMs))
            return -1;
        int received = recv(socket, buffer, size, 0);
        if (received != SOCKET_ERROR)
            return received;
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return -1;
    }
}

bool SendAll(SOCKET socket, const char* data, std::size_t size, const State& state) {
    while (size > 0) {
        if (state.stop.IsSet())
            return false;
        int sent = send(socket, data, static_cast<int>(std::min(size, kSendPiece)), 0);
        if (sent == SOCKET_ERROR) {
            if (WSAGetLastError() != WSAEWOULDBLOCK || !WaitReady(socket, true, state))
                return false;
            continue;
        }
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

enum class ReadResult { Complete, Gone, Bad };

ReadResult ReadRequest(SOCKET socket, const State& state, HttpRequest& request) {
    std::string data;
    char buffer[16384];
    std::size_t headEnd;
    while ((headEnd = data.find("\r\n\r\n")) == std::string::npos) {
        if (data.size() > kMaxHeadBytes)
            return ReadResult::Bad;
        int received = Receive(socket, buffer, sizeof buffer, state);
        if (received <= 0)
            return ReadResult::Gone;
        data.append(buffer, static_cast<std::size_t>(received));
    }
    if (!ParseHead(data.substr(0, headEnd), request))
        return ReadResult::Bad;
    // Chunked uploads are not something these tests send.
    if (request.Header("Transfer-Encoding"))
        return ReadResult::Bad;
    std::size_t length = 0;
    if (auto text = request.Header("Content-Length")) {
        if (!ParseLength(*text, length) || length > kMaxRequestBody)
            return ReadResult::Bad;
    }
    request.body = data.substr(headEnd + 4);
    while (request.body.size() < length) {
        int received = Receive(socket, buffer, sizeof buffer, state);
        if (received <= 0)
            return ReadResult::Gone;
        request.body.append(buffer, static_cast<std::size_t>(received));
    }
    request.body.resize(length);  // whatever follows would be a pipelined request: ignored
    return ReadResult::Complete;
}

std::shared_ptr<const HttpAnswer> FindAnswer(const State& state, const std::string& target) {
    std::lock_guard<std::mutex> guard(state.lock);
    auto found = state.answers.find(target);
    if (found == state.answers.end())
        found = state.answers.find(target.substr(0, target.find('?')));
    return found != state.answers.end() ? found->second : state.defaultAnswer;
}

// Sends the answer; true when the connection should then be reset rather than closed.
bool SendAnswer(SOCKET socket, const HttpRequest& request, const HttpAnswer& answer, const State& state) {
    bool notModified = answer.lastModified && request.Header("If-Modified-Since");
    int status = notModified ? 304 : answer.status;
    if (answer.headDelayMs && state.stop.Wait(answer.headDelayMs))
        return false;
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + ReasonPhrase(status) + "\r\n";
    if (answer.lastModified)
        head += "Last-Modified: " + *answer.lastModified + "\r\n";
    if (!notModified) {
        if (answer.sendContentLength)
            head += "Content-Length: " + std::to_string(answer.announcedLength.value_or(answer.body.size())) + "\r\n";
        for (const auto& [name, value] : answer.headers)
            head += name + ": " + value + "\r\n";
    }
    head += "Connection: close\r\n\r\n";
    if (!SendAll(socket, head.data(), head.size(), state))
        return false;

    std::size_t bodyBytes = notModified || request.method == "HEAD" ? 0 : answer.body.size();
    if (answer.dropAfter)
        bodyBytes = std::min(bodyBytes, *answer.dropAfter);
    if (answer.stallAfter)
        bodyBytes = std::min(bodyBytes, *answer.stallAfter);
    std::size_t piece = answer.chunkSize ? answer.chunkSize : bodyBytes;
    for (std::size_t sent = 0; sent < bodyBytes; sent += piece) {
        if (answer.chunkDelayMs && state.stop.Wait(answer.chunkDelayMs))
            return false;
        if (!SendAll(socket, answer.body.data() + sent, std::min(piece, bodyBytes - sent), state))
            return false;
    }
    if (answer.dropAfter) {
        state.stop.Wait(kBeforeResetMs);
        return true;
    }
    if (answer.stallAfter)
        WaitReady(socket, false, state);  // the client's close (or its next bytes), or the server's stop
    return false;
}

void CloseGracefully(Socket& socket, const State& state) {
    shutdown(socket.Get(), SD_SEND);
    // Closing with unread bytes from the client would reset the connection and
    // could cost it the end of the answer: read until it closes, bounded.
    char buffer[4096];
    ULONGLONG start = GetTickCount64();
    while (GetTickCount64() - start < kLingerMs &&
           Receive(socket.Get(), buffer, sizeof buffer, state, kLingerMs) > 0) {
    }
}

void ServeConnection(State& state, Socket& socket) {
    HttpRequest request;
    ReadResult result = ReadRequest(socket.Get(), state, request);
    if (result == ReadResult::Gone)
        return;
    if (result == ReadResult::Bad) {
        HttpAnswer badRequest = HttpAnswer::Ok("Bad Request", "text/plain");
        badRequest.status = 400;
        SendAnswer(socket.Get(), request, badRequest, state);
        CloseGracefully(socket, state);
        return;
    }
    std::shared_ptr<const HttpAnswer> answer = FindAnswer(state, request.target);
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.requests.push_back(request);
        state.mostAnswering = std::max(state.mostAnswering, ++state.answering);
        state.changed.notify_all();
    }
    const bool reset = SendAnswer(socket.Get(), request, *answer, state);
    {
        std::lock_guard<std::mutex> guard(state.lock);
        --state.answering;
    }
    if (reset)
        socket.Reset();
    else
        CloseGracefully(socket, state);
}

void AcceptConnections(const std::shared_ptr<State>& state, const Socket& listener) {
    while (WaitReady(listener.Get(), false, *state)) {
        Socket connection(accept(listener.Get(), nullptr, nullptr));
        if (!connection.Valid() || !connection.MakeNonBlocking())
            continue;
        // Pieces of a slow or dropped body must leave at once, not wait for an acknowledgement.
        BOOL noDelay = TRUE;
        setsockopt(connection.Get(), IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                   sizeof noDelay);
        try {
            StartThread(state, [connection = std::move(connection)](const std::shared_ptr<State>& s) mutable {
                ServeConnection(*s, connection);
            });
        } catch (const std::system_error&) {
            // No thread for this one: the connection closes unanswered.
        }
    }
}

}  // namespace

LoopbackHttpServer::LoopbackHttpServer() : m_state(std::make_shared<State>()) {
    StartWinsockOnce();
    const SOCKET created = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    Socket listener(created);
    if (!listener.Valid())
        throw std::runtime_error("cannot create the listening socket (error " + std::to_string(WSAGetLastError()) +
                                 ")");
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;  // any free port
    int size = sizeof address;
    if (bind(listener.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener.Get(), SOMAXCONN) != 0 ||
        getsockname(listener.Get(), reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        !listener.MakeNonBlocking())
        throw std::runtime_error("cannot listen on 127.0.0.1");
    m_port = ntohs(address.sin_port);
    StartThread(m_state, [listener = std::move(listener)](const std::shared_ptr<State>& state) {
        AcceptConnections(state, listener);
    });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    m_state->stop.Set();
    std::unique_lock<std::mutex> guard(m_state->lock);
    m_state->changed.wait_for(guard, kStopWait, [this] { return m_state->liveThreads == 0; });
}

std::wstring LoopbackHttpServer::Url(const std::wstring& path) const {
    return L"http://127.0.0.1:" + std::to_wstring(m_port) + path;
}

void LoopbackHttpServer::SetAnswer(const std::string& path, HttpAnswer answer) {
    auto shared = std::make_shared<const HttpAnswer>(std::move(answer));
    std::lock_guard<std::mutex> guard(m_state->lock);
    m_state->answers[path] = std::move(shared);
}

void LoopbackHttpServer::SetDefaultAnswer(HttpAnswer answer) {
    auto shared = std::make_shared<const HttpAnswer>(std::move(answer));
    std::lock_guard<std::mutex> guard(m_state->lock);
    m_state->defaultAnswer = std::move(shared);
}

std::vector<HttpRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->requests;
}

std::size_t LoopbackHttpServer::RequestCount() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->requests.size();
}

std::size_t LoopbackHttpServer::MostAnswersAtOnce() const {
    std::lock_guard<std::mutex> guard(m_state->lock);
    return m_state->mostAnswering;
}

bool LoopbackHttpServer::WaitForRequests(std::size_t count, unsigned long timeoutMs) const {
    std::unique_lock<std::mutex> guard(m_state->lock);
    return m_state->changed.wait_for(guard, std::chrono::milliseconds(timeoutMs),
                                     [&] { return m_state->requests.size() >= count; });
}

}  // namespace Testing
