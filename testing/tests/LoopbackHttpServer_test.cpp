#include "testing/Gzip.h"
#include "testing/LoopbackHttpServer.h"

#include <gtest/gtest.h>
#include <winsock2.h>
#include <windows.h>
#include <wininet.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using Testing::HttpAnswer;
using Testing::LoopbackHttpServer;

struct WinsockSession {
    WinsockSession() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockSession() { WSACleanup(); }
};

struct Response {
    std::string bytes;       // everything received
    bool reset = false;      // ended by an error instead of an orderly close
    bool timedOut = false;
    std::size_t receives = 0;

    std::size_t HeadEnd() const { return bytes.find("\r\n\r\n"); }
    int Status() const { return bytes.size() > 12 ? std::stoi(bytes.substr(9, 3)) : 0; }
    std::string Body() const { return HeadEnd() == std::string::npos ? "" : bytes.substr(HeadEnd() + 4); }
    std::optional<std::string> Header(const std::string& name) const {
        std::string head = "\r\n" + bytes.substr(0, HeadEnd()) + "\r\n";
        std::string lowerHead = head;
        std::string key = "\r\n" + name + ": ";
        for (char& c : lowerHead)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        for (char& c : key)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        std::size_t at = lowerHead.find(key);
        if (at == std::string::npos)
            return std::nullopt;
        std::size_t start = at + key.size();
        return head.substr(start, head.find("\r\n", start) - start);
    }
};

// A plain blocking Winsock client; every receive gives up after timeoutMs.
class Client {
public:
    Client(unsigned short port, DWORD timeoutMs = 10000) : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP)) {
        setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeoutMs), sizeof timeoutMs);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(port);
        m_connected = connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { Close(); }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    bool Connected() const { return m_connected; }
    void Close() {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
        m_socket = INVALID_SOCKET;
    }
    bool Send(const std::string& text) {
        return send(m_socket, text.data(), static_cast<int>(text.size()), 0) == static_cast<int>(text.size());
    }
    // Reads until the server closes, or until `enough` bytes have arrived.
    Response Read(std::size_t enough = std::string::npos) {
        Response response;
        char buffer[65536];
        while (response.bytes.size() < enough) {
            int received = recv(m_socket, buffer, sizeof buffer, 0);
            if (received == 0)
                break;
            if (received == SOCKET_ERROR) {
                if (WSAGetLastError() == WSAETIMEDOUT)
                    response.timedOut = true;
                else
                    response.reset = true;
                break;
            }
            ++response.receives;
            response.bytes.append(buffer, static_cast<std::size_t>(received));
        }
        return response;
    }

private:
    SOCKET m_socket;
    bool m_connected = false;
};

Response Exchange(unsigned short port, const std::string& request) {
    Client client(port);
    EXPECT_TRUE(client.Connected());
    EXPECT_TRUE(client.Send(request));
    return client.Read();
}

std::string Get(const std::string& target, const std::string& extraHeaders = "",
                const std::string& version = "HTTP/1.1", const std::string& method = "GET") {
    return method + " " + target + " " + version + "\r\nHost: 127.0.0.1\r\n" + extraHeaders + "\r\n";
}

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

class LoopbackHttpServerTest : public testing::Test {
protected:
    WinsockSession m_winsock;
};

TEST_F(LoopbackHttpServerTest, SendsEachKindOfAnswer) {
    using Headers = std::vector<std::pair<std::string, std::optional<std::string>>>;  // nullopt: must be absent
    struct Case {
        const char* name;
        HttpAnswer answer;
        std::string request;
        int status;
        std::string body;
        Headers headers;
        bool reset;
    };
    const std::string fiveThousand(5000, 'x');
    const std::string lastModified = "Mon, 01 Jan 2024 00:00:00 GMT";
    const Case cases[] = {
        {"200 with a body", HttpAnswer::Ok("hello world", "text/plain"), Get("/"), 200, "hello world",
         {{"Content-Length", "11"}, {"Content-Type", "text/plain"}, {"Connection", "close"}}, false},
        {"0 bytes", HttpAnswer::Ok(""), Get("/"), 200, "", {{"Content-Length", "0"}}, false},
        {"404", HttpAnswer::NotFound(), Get("/"), 404, "Not Found", {{"Content-Length", "9"}}, false},
        {"conditional, asked without If-Modified-Since", HttpAnswer::NotModifiedIfAsked("fresh", lastModified),
         Get("/"), 200, "fresh", {{"Last-Modified", lastModified}, {"Content-Length", "5"}}, false},
        {"conditional, asked with If-Modified-Since", HttpAnswer::NotModifiedIfAsked("fresh", lastModified),
         Get("/", "If-Modified-Since: " + lastModified + "\r\n"), 304, "", {{"Content-Length", std::nullopt}},
         false},
        {"gzip", HttpAnswer::Gzip("plain text"), Get("/"), 200, Testing::GzipStored("plain text"),
         {{"Content-Encoding", "gzip"}}, false},
        {"dropped mid-body", HttpAnswer::DroppedMidBody(fiveThousand, 1000), Get("/"), 200,
         fiveThousand.substr(0, 1000), {{"Content-Length", "5000"}}, true},
        {"shorter than its Content-Length", HttpAnswer::ShortBody("abc", 10), Get("/"), 200, "abc",
         {{"Content-Length", "10"}}, false},
        {"slow", HttpAnswer::Slow("abcdefgh", 3, 10), Get("/"), 200, "abcdefgh", {{"Content-Length", "8"}}, false},
        {"without length", HttpAnswer::WithoutLength("to the close"), Get("/"), 200, "to the close",
         {{"Content-Length", std::nullopt}, {"Connection", "close"}}, false},
        {"redirect", HttpAnswer::Redirect("/elsewhere"), Get("/"), 302, "",
         {{"Location", "/elsewhere"}, {"Content-Length", "0"}}, false},
        {"HEAD", HttpAnswer::Ok("hello"), Get("/", "", "HTTP/1.1", "HEAD"), 200, "", {{"Content-Length", "5"}},
         false},
        {"HTTP/1.0", HttpAnswer::Ok("old"), Get("/", "", "HTTP/1.0"), 200, "old", {{"Connection", "close"}}, false},
        {"keep-alive asked", HttpAnswer::Ok("once"), Get("/", "Connection: keep-alive\r\n"), 200, "once",
         {{"Connection", "close"}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoopbackHttpServer server;
        server.SetAnswer("/", c.answer);
        Response response = Exchange(server.Port(), c.request);
        EXPECT_FALSE(response.timedOut);
        EXPECT_EQ(c.reset, response.reset);
        EXPECT_EQ(c.status, response.Status());
        EXPECT_EQ(c.body, response.Body());
        for (const auto& [name, value] : c.headers) {
            SCOPED_TRACE(name);
            EXPECT_EQ(value, response.Header(name));
        }
    }
}

TEST_F(LoopbackHttpServerTest, RecordsEveryRequest) {
    LoopbackHttpServer server;
    server.SetDefaultAnswer(HttpAnswer::Ok("ok"));
    Exchange(server.Port(), "POST /upload?id=7 HTTP/1.0\r\nX-Custom:  Some Value \r\ncontent-length: 4\r\n\r\ndata");
    Exchange(server.Port(), Get("/second", "Accept-Encoding: gzip, deflate\r\n"));

    ASSERT_EQ(2u, server.RequestCount());
    auto requests = server.Requests();
    EXPECT_EQ("POST", requests[0].method);
    EXPECT_EQ("/upload?id=7", requests[0].target);
    EXPECT_EQ("HTTP/1.0", requests[0].version);
    Testing::HttpHeaders expected = {{"X-Custom", "Some Value"}, {"content-length", "4"}};
    EXPECT_EQ(expected, requests[0].headers);
    EXPECT_EQ("Some Value", requests[0].Header("x-CUSTOM"));
    EXPECT_EQ(std::nullopt, requests[0].Header("Host"));
    EXPECT_EQ("data", requests[0].body);

    EXPECT_EQ("GET", requests[1].method);
    EXPECT_EQ("HTTP/1.1", requests[1].version);
    EXPECT_EQ("gzip, deflate", requests[1].Header("accept-encoding"));
    EXPECT_EQ("", requests[1].body);
}

TEST_F(LoopbackHttpServerTest, ChoosesTheExactTargetThenThePathThenTheDefault) {
    LoopbackHttpServer server;
    server.SetAnswer("/a?x=1", HttpAnswer::Ok("exact"));
    server.SetAnswer("/a", HttpAnswer::Ok("path"));
    struct Case {
        const char* target;
        int status;
        std::string body;
    } cases[] = {{"/a?x=1", 200, "exact"}, {"/a?y=2", 200, "path"}, {"/a", 200, "path"}, {"/b", 404, "Not Found"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        Response response = Exchange(server.Port(), Get(c.target));
        EXPECT_EQ(c.status, response.Status());
        EXPECT_EQ(c.body, response.Body());
    }
    server.SetDefaultAnswer(HttpAnswer::Ok("default"));
    EXPECT_EQ("default", Exchange(server.Port(), Get("/b")).Body());
}

TEST_F(LoopbackHttpServerTest, RefusesMalformedRequestsWithoutRecordingThem) {
    LoopbackHttpServer server;
    server.SetDefaultAnswer(HttpAnswer::Ok("ok"));
    const char* requests[] = {
        "garbage\r\n\r\n",
        "GET / HTTP/1.1\r\nNo colon here\r\n\r\n",
        "GET / HTTP/1.1\r\nContent-Length: -1\r\n\r\n",
        "GET / FTP/1.0\r\n\r\n",
    };
    for (const char* request : requests) {
        SCOPED_TRACE(request);
        EXPECT_EQ(400, Exchange(server.Port(), request).Status());
    }
    EXPECT_EQ(0u, server.RequestCount());
}

TEST_F(LoopbackHttpServerTest, SurvivesClientsThatLeaveEarly) {
    LoopbackHttpServer server;
    server.SetAnswer("/big", HttpAnswer::Ok(std::string(8 * 1024 * 1024, 'b')));
    server.SetAnswer("/small", HttpAnswer::Ok("small"));
    {
        Client halfRequest(server.Port());
        halfRequest.Send("GET /small HT");
    }
    {
        Client halfBody(server.Port());
        halfBody.Send(Get("/small", "Content-Length: 100\r\n") + "only a little");
    }
    {
        Client leavesMidAnswer(server.Port());
        leavesMidAnswer.Send(Get("/big"));
        EXPECT_GE(leavesMidAnswer.Read(100).bytes.size(), 100u);
    }
    EXPECT_EQ("small", Exchange(server.Port(), Get("/small")).Body());
    EXPECT_EQ(2u, server.RequestCount());
}

TEST_F(LoopbackHttpServerTest, SlowBodyArrivesInDelayedPieces) {
    LoopbackHttpServer server;
    server.SetAnswer("/", HttpAnswer::Slow("0123456789", 2, 50));
    auto start = std::chrono::steady_clock::now();
    Response response = Exchange(server.Port(), Get("/"));
    EXPECT_EQ("0123456789", response.Body());
    EXPECT_GE(MillisecondsSince(start), 240.0);  // five pieces, each after 50 ms
    EXPECT_GE(response.receives, 3u);
}

TEST_F(LoopbackHttpServerTest, DelayedHeadComesAfterItsPause) {
    LoopbackHttpServer server;
    HttpAnswer answer = HttpAnswer::Ok("late");
    answer.headDelayMs = 300;
    server.SetAnswer("/", answer);
    auto start = std::chrono::steady_clock::now();
    Response response = Exchange(server.Port(), Get("/"));
    EXPECT_EQ(200, response.Status());
    EXPECT_EQ("late", response.Body());
    EXPECT_GE(MillisecondsSince(start), 290.0);
}

TEST_F(LoopbackHttpServerTest, FallsSilentWhereToldAndCountsAnswersAtOnce) {
    LoopbackHttpServer server;
    server.SetAnswer("/stalled", HttpAnswer::StalledMidBody(std::string(5000, 's'), 1000));
    server.SetAnswer("/never", HttpAnswer::NeverAnswered());
    Client stalled(server.Port(), 1000);
    Client never(server.Port(), 1000);
    ASSERT_TRUE(stalled.Send(Get("/stalled")));
    ASSERT_TRUE(never.Send(Get("/never")));
    const Response part = stalled.Read();
    EXPECT_TRUE(part.timedOut);
    EXPECT_EQ(200, part.Status());
    EXPECT_EQ("5000", part.Header("Content-Length").value_or(""));
    EXPECT_EQ(std::string(1000, 's'), part.Body());
    const Response nothing = never.Read();
    EXPECT_TRUE(nothing.timedOut);
    EXPECT_TRUE(nothing.bytes.empty());
    EXPECT_EQ(2u, server.MostAnswersAtOnce());
}

TEST_F(LoopbackHttpServerTest, ServesAnotherClientWhileOneIsSlow) {
    LoopbackHttpServer server;
    server.SetAnswer("/slow", HttpAnswer::Slow(std::string(1000, 's'), 1, 100));  // 100 s in all
    server.SetAnswer("/quick", HttpAnswer::Ok("quick"));
    Client slow(server.Port());
    slow.Send(Get("/slow"));
    ASSERT_TRUE(server.WaitForRequests(1, 5000));
    Response quick = Exchange(server.Port(), Get("/quick"));
    EXPECT_FALSE(quick.timedOut);
    EXPECT_EQ("quick", quick.Body());
    EXPECT_EQ(2u, server.RequestCount());
}

TEST_F(LoopbackHttpServerTest, StopsPromptlyWithClientsConnected) {
    auto server = std::make_unique<LoopbackHttpServer>();
    server->SetAnswer("/slow", HttpAnswer::Slow(std::string(10, 's'), 1, 10000));
    server->SetAnswer("/big", HttpAnswer::Ok(std::string(32 * 1024 * 1024, 'b')));
    Client idle(server->Port());
    Client halfRequest(server->Port());
    halfRequest.Send("GET /slow HTTP/1.1\r\n");
    Client slow(server->Port());
    slow.Send(Get("/slow"));
    Client notReading(server->Port());
    notReading.Send(Get("/big"));
    ASSERT_TRUE(server->WaitForRequests(2, 5000));
    EXPECT_GT(slow.Read(50).bytes.size(), 0u);

    auto start = std::chrono::steady_clock::now();
    server.reset();
    // Bounded: the slow answer alone would take 100 s, its next piece 10 s.
    EXPECT_LT(MillisecondsSince(start), 5000.0);

    for (Client* client : {&idle, &halfRequest, &slow}) {
        Response end = client->Read();
        EXPECT_FALSE(end.timedOut);
    }
    EXPECT_LT(notReading.Read().bytes.size(), 32u * 1024 * 1024);
}

// WinInet, as the download code will use it.
struct InternetCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetCloser>;

struct WinInetResult {
    bool opened = false;
    DWORD status = 0;
    std::string body;
};

WinInetResult WinInetGet(const std::wstring& url, const std::wstring& headers) {
    WinInetResult result;
    InternetHandle session(InternetOpenW(L"Mozilla/4.0 (compatible)", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    if (!session)
        return result;
    BOOL decode = TRUE;
    InternetSetOptionW(session.get(), INTERNET_OPTION_HTTP_DECODING, &decode, sizeof decode);
    DWORD timeout = 10000;
    InternetSetOptionW(session.get(), INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof timeout);
    InternetHandle request(InternetOpenUrlW(session.get(), url.c_str(), headers.c_str(), static_cast<DWORD>(-1),
                                            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0));
    if (!request)
        return result;
    result.opened = true;
    DWORD size = sizeof result.status;
    HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &result.status, &size, nullptr);
    char buffer[2048];
    DWORD read = 0;
    while (InternetReadFile(request.get(), buffer, sizeof buffer, &read) && read > 0)
        result.body.append(buffer, read);
    return result;
}

TEST_F(LoopbackHttpServerTest, WinInetDecodesTheGzipBodyAndTheServerSeesItsHeaders) {
    LoopbackHttpServer server;
    std::string plain;
    for (int i = 0; plain.size() < 150000; ++i)
        plain += "line " + std::to_string(i) + "\n";
    server.SetAnswer("/tips.xml", HttpAnswer::Gzip(plain, "text/xml"));
    WinInetResult result = WinInetGet(server.Url(L"/tips.xml"), L"Accept-Encoding: gzip, deflate\r\n");
    ASSERT_TRUE(result.opened);
    EXPECT_EQ(200u, result.status);
    EXPECT_TRUE(result.body == plain) << result.body.size() << " bytes instead of " << plain.size();

    ASSERT_EQ(1u, server.RequestCount());
    auto request = server.Requests()[0];
    EXPECT_EQ("GET", request.method);
    EXPECT_EQ("/tips.xml", request.target);
    EXPECT_EQ("Mozilla/4.0 (compatible)", request.Header("User-Agent"));
    EXPECT_EQ("gzip, deflate", request.Header("Accept-Encoding"));
}

TEST_F(LoopbackHttpServerTest, WinInetGetsNotModifiedWhenItSendsIfModifiedSince) {
    LoopbackHttpServer server;
    server.SetAnswer("/tips.xml", HttpAnswer::NotModifiedIfAsked("<tips/>"));
    WinInetResult fresh = WinInetGet(server.Url(L"/tips.xml"), L"");
    EXPECT_EQ(200u, fresh.status);
    EXPECT_EQ("<tips/>", fresh.body);
    WinInetResult cached =
        WinInetGet(server.Url(L"/tips.xml"), L"If-Modified-Since: Wed, 21 Oct 2015 07:28:00 GMT\r\n");
    EXPECT_EQ(304u, cached.status);
    EXPECT_EQ("", cached.body);
    ASSERT_EQ(2u, server.RequestCount());
    EXPECT_EQ("Wed, 21 Oct 2015 07:28:00 GMT", server.Requests()[1].Header("If-Modified-Since"));
}

}  // namespace
