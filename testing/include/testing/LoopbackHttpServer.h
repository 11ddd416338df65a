#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// An HTTP server on 127.0.0.1 inside the test process, for download code that
// must meet real sockets: scripted answers per path, every request recorded.
//
//   Testing::LoopbackHttpServer server;
//   server.SetAnswer("/tips.xml", Testing::HttpAnswer::Ok("<tips/>", "text/xml"));
//   Download(server.Url(L"/tips.xml"));
//   EXPECT_EQ("gzip, deflate", server.Requests().at(0).Header("Accept-Encoding"));
//
// One request per connection: every response carries "Connection: close" and
// the connection is closed after it, whatever the client asked for. HEAD gets
// the headers only; a malformed request gets 400 and is not recorded.

namespace Testing {

using HttpHeaders = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method;
    std::string target;   // as sent, with its query
    std::string version;  // "HTTP/1.1"
    HttpHeaders headers;  // in the order and spelling received
    std::string body;     // the Content-Length bytes that followed the headers

    // The first header of that name, compared without case.
    std::optional<std::string> Header(const std::string& name) const;
};

// One scripted answer. Build it with a factory below, then adjust fields
// (extra headers, say) where a test needs more.
struct HttpAnswer {
    int status = 200;
    std::string body;
    HttpHeaders headers;  // sent as given, after Content-Length (and Last-Modified)

    // Set: a request with If-Modified-Since gets 304 without a body; any other
    // gets the answer with this Last-Modified date.
    std::optional<std::string> lastModified;
    // Content-Length sent when it should differ from body.size().
    std::optional<std::size_t> announcedLength;
    // False: no Content-Length at all; the body ends where the connection closes.
    bool sendContentLength = true;
    // Non-zero: the head goes out only after this pause (a server slow to answer).
    unsigned long headDelayMs = 0;
    // Set: only this many body bytes are sent, then the connection is reset.
    std::optional<std::size_t> dropAfter;
    // Set: only this many body bytes are sent, then nothing more until the
    // client closes its side or the server stops.
    std::optional<std::size_t> stallAfter;
    // Non-zero: the body goes out in pieces of chunkSize, each after chunkDelayMs.
    std::size_t chunkSize = 0;
    unsigned long chunkDelayMs = 0;

    static HttpAnswer Ok(std::string body, std::string contentType = "application/octet-stream");
    static HttpAnswer NotFound();
    static HttpAnswer NotModifiedIfAsked(std::string body, std::string lastModified = "Wed, 21 Oct 2015 07:28:00 GMT");
    // The body gzip-encoded, with "Content-Encoding: gzip".
    static HttpAnswer Gzip(const std::string& plain, std::string contentType = "application/octet-stream");
    // Content-Length is body.size(); the connection is reset after bytesSent.
    static HttpAnswer DroppedMidBody(std::string body, std::size_t bytesSent);
    // Content-Length is announcedLength; the whole (shorter) body is sent, then a clean close.
    static HttpAnswer ShortBody(std::string body, std::size_t announcedLength);
    // Content-Length is body.size(); the server falls silent after bytesSent.
    static HttpAnswer StalledMidBody(std::string body, std::size_t bytesSent);
    // The request is taken and never answered (until the server stops).
    static HttpAnswer NeverAnswered();
    static HttpAnswer Slow(std::string body, std::size_t chunkSize, unsigned long chunkDelayMs);
    static HttpAnswer Redirect(std::string location, int status = 302);
    // No Content-Length: the body is delimited by the closing of the connection.
    static HttpAnswer WithoutLength(std::string body);
};

// Listens from construction (throws std::runtime_error when it cannot) on its
// own thread, with one more thread per open connection. All members may be
// called from any thread; one lock guards the answers and the recorded
// requests. The destructor closes the listening socket and every connection,
// cutting slow answers short, and waits a bounded time for those threads.
class LoopbackHttpServer {
public:
    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    unsigned short Port() const { return m_port; }
    // "http://127.0.0.1:<port>" followed by path.
    std::wstring Url(const std::wstring& path) const;

    // Answers by target: an exact match first, then the target without its
    // query, then the default (404 unless set).
    void SetAnswer(const std::string& path, HttpAnswer answer);
    void SetDefaultAnswer(HttpAnswer answer);

    // Complete requests, recorded before they are answered.
    std::vector<HttpRequest> Requests() const;
    std::size_t RequestCount() const;
    // The most answers that were on their way at one time (each from its
    // request's arrival to its last byte sent).
    std::size_t MostAnswersAtOnce() const;
    // True once at least `count` requests have arrived, false after timeoutMs.
    bool WaitForRequests(std::size_t count, unsigned long timeoutMs) const;

    struct State;

private:
    std::shared_ptr<State> m_state;  // shared with the server's threads
    unsigned short m_port = 0;
};

}  // namespace Testing
