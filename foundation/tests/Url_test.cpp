#include "foundation/internet/Url.h"

#include "foundation/internet/FileStreamT.h"
#include "foundation/tests/BoundedCall.h"
#include "foundation/tests/RecordingSink.h"
#include "foundation/tests/ShellLaunchRecorder.h"
#include "foundation/tests/UrlDownload.h"
#include "testing/Gzip.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"

#include <gtest/gtest.h>

#include <wininet.h>

#include <string>
#include <vector>

namespace {

using Internet::Url;
using InternetTests::FolderEntries;
using InternetTests::RecordingCallback;
using Testing::HttpAnswer;
using Testing::LoopbackHttpServer;

std::string Bytes(size_t count) {
    std::string bytes(count, '\0');
    for (size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>('a' + i * 7 % 26);
    return bytes;
}

class UrlTest : public testing::Test {
protected:
    // Runs the download on a thread of its own, which ends the run should it hang.
    bool Download(Url& url, RecordingCallback& callback, DWORD& status) {
        bool result = false;
        ThreadTests::RunBounded("Url::Download", [&] { result = url.Download(callback, status); });
        return result;
    }
    bool DownloadToFile(Url& url, const std::wstring& path) {
        bool result = false;
        ThreadTests::RunBounded("Url::DownloadToFile", [&] { result = url.DownloadToFile(path); });
        return result;
    }

    LoopbackHttpServer m_server;
    Testing::TempFolder m_folder;
};

TEST_F(UrlTest, EmptyBodyEndsTrueWithoutData) {
    m_server.SetAnswer("/empty", HttpAnswer::Ok(""));
    Url url(m_server.Url(L"/empty"));
    RecordingCallback callback;
    DWORD status = 0;
    EXPECT_TRUE(Download(url, callback, status));
    EXPECT_EQ(200u, status);
    EXPECT_TRUE(callback.chunkSizes.empty());
}

TEST_F(UrlTest, BodyArrivesInChunksWithRunningTotals) {
    const std::string body = Bytes(5000);
    m_server.SetAnswer("/five", HttpAnswer::Ok(body));
    Url url(m_server.Url(L"/five"));
    RecordingCallback callback;
    DWORD status = 0;
    ASSERT_TRUE(Download(url, callback, status));
    EXPECT_EQ(200u, status);
    EXPECT_TRUE(callback.body == body);
    ULONGLONG total = 0;
    for (size_t i = 0; i < callback.chunkSizes.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "chunk " << i);
        EXPECT_GT(callback.chunkSizes[i], 0u);
        EXPECT_LE(callback.chunkSizes[i], 2048u);
        total += callback.chunkSizes[i];
        EXPECT_EQ(total, callback.totals[i]);
        EXPECT_EQ(5000u, callback.contentLengths[i]);
    }
    EXPECT_EQ(5000u, total);
}

TEST_F(UrlTest, ServerSeesTheRequestHeaders) {
    m_server.SetAnswer("/tips.xml", HttpAnswer::Ok("<tips/>"));
    Url url(m_server.Url(L"/tips.xml"));
    url.AddAcceptEncoding(Url::EncodingCompressed);
    EXPECT_TRUE(url.SetIfModifiedSince(L"Wed, 21 Oct 2015 07:28:00 GMT"));
    const std::wstring headers = url.GetHeaders();
    // Downloaded twice: the second request carries the same headers.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        RecordingCallback callback;
        DWORD status = 0;
        EXPECT_TRUE(Download(url, callback, status));
        EXPECT_EQ(headers, url.GetHeaders());
        ASSERT_EQ(size_t(round + 1), m_server.RequestCount());
        const Testing::HttpRequest request = m_server.Requests().back();
        EXPECT_EQ("GET", request.method);
        EXPECT_EQ("/tips.xml", request.target);
        EXPECT_EQ("Mozilla/4.0 (compatible)", request.Header("User-Agent"));
        EXPECT_EQ("gzip, deflate", request.Header("Accept-Encoding"));
        EXPECT_EQ("Wed, 21 Oct 2015 07:28:00 GMT", request.Header("If-Modified-Since"));
        EXPECT_EQ("Close", request.Header("Connection"));
        EXPECT_EQ(std::nullopt, request.Header("Cookie"));
    }
}

TEST_F(UrlTest, HeaderSettersRefuseWhatTheyDoNotKnow) {
    Url url(L"http://127.0.0.1/");
    url.AddAcceptEncoding(Url::EncodingNone);
    url.AddAcceptEncoding(7);
    EXPECT_EQ(L"", url.GetHeaders());
    EXPECT_FALSE(url.IsDecoding());
    EXPECT_FALSE(url.SetIfModifiedSince(L"Wed, 21 Oct 2015 07:28:00 GMT\r\nCookie: x=1"));
    EXPECT_FALSE(url.SetIfModifiedSince(L"Wed\n"));
    EXPECT_EQ(L"", url.GetHeaders());
    url.AddAcceptEncoding(Url::EncodingCompressed);  // Wine reports a system after Vista
    EXPECT_EQ(L"Accept-Encoding: gzip, deflate\r\n", url.GetHeaders());
    EXPECT_TRUE(url.IsDecoding());
}

TEST_F(UrlTest, AnswersOtherThan200AreFailures) {
    m_server.SetAnswer("/cached", HttpAnswer::NotModifiedIfAsked("fresh"));
    const struct {
        const wchar_t* path;
        bool ifModifiedSince;
        bool result;
        DWORD status;
        const char* body;
    } cases[] = {
        {L"/cached", true, false, 304, ""},
        {L"/cached", false, true, 200, "fresh"},
        {L"/missing", false, false, 404, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path << (c.ifModifiedSince ? " with If-Modified-Since" : ""));
        Url url(m_server.Url(c.path));
        if (c.ifModifiedSince)
            url.SetIfModifiedSince(L"Wed, 21 Oct 2015 07:28:00 GMT");
        RecordingCallback callback;
        DWORD status = 0;
        EXPECT_EQ(c.result, Download(url, callback, status));
        EXPECT_EQ(c.status, status);
        EXPECT_EQ(c.body, callback.body);
    }
}

TEST_F(UrlTest, RedirectsWithinHttpAreFollowed) {
    LoopbackHttpServer elsewhere;
    elsewhere.SetAnswer("/target", HttpAnswer::Ok("arrived elsewhere"));
    m_server.SetAnswer("/moved", HttpAnswer::Redirect("/target"));
    m_server.SetAnswer("/target", HttpAnswer::Ok("arrived"));
    const std::wstring awayUrl = elsewhere.Url(L"/target");
    const std::string away(awayUrl.begin(), awayUrl.end());
    m_server.SetAnswer("/away", HttpAnswer::Redirect(away, 301));
    const struct {
        const wchar_t* path;
        const char* body;
    } cases[] = {
        {L"/moved", "arrived"},
        {L"/away", "arrived elsewhere"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        Url url(m_server.Url(c.path));
        RecordingCallback callback;
        DWORD status = 0;
        EXPECT_TRUE(Download(url, callback, status));
        EXPECT_EQ(200u, status);
        EXPECT_EQ(c.body, callback.body);
    }
}

TEST_F(UrlTest, AddressesThatAreNoWebAddressesAreRefused) {
    const wchar_t* addresses[] = {
        L"", L"not an address", L"127.0.0.1/x", L"http://", L"ftp://127.0.0.1/x", L"file:///c:/windows/win.ini",
    };
    for (const wchar_t* address : addresses) {
        SCOPED_TRACE(testing::Message() << "'" << address << "'");
        Url url(address);
        RecordingCallback callback;
        DWORD status = 99;
        EXPECT_FALSE(Download(url, callback, status));
        EXPECT_EQ(0u, status);
        EXPECT_TRUE(callback.chunkSizes.empty());
    }
}

TEST_F(UrlTest, GzipBodyIsInflatedWhenAskedFor) {
    std::string plain;
    for (int i = 0; plain.size() < 20000; ++i)
        plain += "<tip id=\"" + std::to_string(i) + "\"/>\n";
    m_server.SetAnswer("/tips.xml", HttpAnswer::Gzip(plain, "text/xml"));
    Url url(m_server.Url(L"/tips.xml"));
    url.AddAcceptEncoding(Url::EncodingCompressed);
    RecordingCallback callback;
    DWORD status = 0;
    ASSERT_TRUE(Download(url, callback, status));
    EXPECT_TRUE(callback.body == plain) << callback.body.size() << " bytes instead of " << plain.size();

    Url raw(m_server.Url(L"/tips.xml"));  // not asked: the bytes as sent
    RecordingCallback rawCallback;
    ASSERT_TRUE(Download(raw, rawCallback, status));
    EXPECT_TRUE(rawCallback.body == Testing::GzipStored(plain));
}

TEST_F(UrlTest, BrokenBodiesFail) {
    const std::string body = Bytes(5000);
    m_server.SetAnswer("/dropped", HttpAnswer::DroppedMidBody(body, 1000));
    m_server.SetAnswer("/short", HttpAnswer::ShortBody(body, 6000));
    m_server.SetAnswer("/slow", HttpAnswer::Slow(body, 1000, 50));
    m_server.SetAnswer("/whole", HttpAnswer::Ok(body));
    const struct {
        const wchar_t* path;
        size_t cancelAtChunk;
        bool result;
    } cases[] = {
        {L"/dropped", 0, false},
        {L"/short", 0, false},  // fewer bytes than its Content-Length
        {L"/slow", 0, true},    // slow, but within the receive time-out
        {L"/whole", 1, false},  // cancelled by the callback
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        Url url(m_server.Url(c.path));
        RecordingCallback callback(c.cancelAtChunk);
        DWORD status = 0;
        EXPECT_EQ(c.result, Download(url, callback, status));
        EXPECT_EQ(200u, status);
        if (c.cancelAtChunk) {
            EXPECT_EQ(c.cancelAtChunk, callback.chunkSizes.size());
        }
    }
}

TEST_F(UrlTest, DownloadToFileReplacesTheFileOnlyOnSuccess) {
    const std::string body = Bytes(5000);
    m_server.SetAnswer("/whole", HttpAnswer::Ok(body));
    m_server.SetAnswer("/cached", HttpAnswer::NotModifiedIfAsked(body));
    m_server.SetAnswer("/dropped", HttpAnswer::DroppedMidBody(body, 3000));
    m_server.SetAnswer("/short", HttpAnswer::ShortBody(body, 6000));
    const struct {
        const wchar_t* path;
        bool ifModifiedSince;
        bool result;
    } cases[] = {
        {L"/cached", true, false},
        {L"/missing", false, false},
        {L"/dropped", false, false},
        {L"/short", false, false},
        {L"/whole", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.path);
        const std::wstring target = m_folder.WriteFile(L"tips\\TipOfTheDay.xml", "old contents");
        Url url(m_server.Url(c.path));
        if (c.ifModifiedSince)
            url.SetIfModifiedSince(L"Wed, 21 Oct 2015 07:28:00 GMT");
        EXPECT_EQ(c.result, DownloadToFile(url, target));
        EXPECT_TRUE(Testing::ReadFileBytes(target) == (c.result ? body : "old contents"));
        EXPECT_EQ(std::vector<std::wstring>{L"TipOfTheDay.xml"}, FolderEntries(m_folder / L"tips"));
    }
}

TEST_F(UrlTest, DownloadToFileMakesFoldersAndKeepsReadOnly) {
    m_server.SetAnswer("/new", HttpAnswer::Ok("new"));
    const std::wstring fresh = m_folder / L"a\\b\\fresh.bin";
    Url url(m_server.Url(L"/new"));
    EXPECT_TRUE(DownloadToFile(url, fresh));
    EXPECT_EQ("new", Testing::ReadFileBytes(fresh));

    const std::wstring locked = m_folder.WriteFile(L"locked.bin", "old");
    ASSERT_TRUE(::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_TRUE(DownloadToFile(url, locked));
    EXPECT_EQ("new", Testing::ReadFileBytes(locked));
    EXPECT_TRUE(::GetFileAttributesW(locked.c_str()) & FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(UrlTest, DownloadToStreamWritesEveryChunk) {
    const std::string body = Bytes(5000);
    m_server.SetAnswer("/five", HttpAnswer::Ok(body));
    const std::wstring path = m_folder / L"stream.bin";
    bool result = false;
    ThreadTests::RunBounded("DownloadToStream", [&] {
        auto pStream = FileSystem::OpenFileStream(path, STLHelpers_::OpenCreate, STLHelpers_::AccessWrite,
                                                  STLHelpers::CustomValues());
        ASSERT_TRUE(pStream->Write("head:", 5, nullptr));
        result = Url(m_server.Url(L"/five")).DownloadToStream(pStream);
    });
    EXPECT_TRUE(result);
    EXPECT_TRUE(Testing::ReadFileBytes(path) == "head:" + body);

    // A stream that cannot write cancels the download.
    const std::wstring readOnly = m_folder.WriteFile(L"source.bin", "source");
    auto pReader = FileSystem::OpenFileStream(readOnly, STLHelpers_::OpenExisting, STLHelpers_::AccessRead,
                                              STLHelpers::CustomValues());
    ThreadTests::RunBounded("DownloadToStream",
                            [&] { result = Url(m_server.Url(L"/five")).DownloadToStream(pReader); });
    EXPECT_FALSE(result);
    EXPECT_EQ("source", Testing::ReadFileBytes(readOnly));
}

TEST_F(UrlTest, NullStreamIsAnAssertion) {
    FoundationTests::RecordingSink sink;  // returns instead of throwing
    FoundationTests::ScopedSink scope(&sink);
    EXPECT_FALSE(Url(m_server.Url(L"/")).DownloadToStream(nullptr));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Assertion, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((pStream))"));
    EXPECT_EQ(0u, m_server.RequestCount());
}

// The window that the download's message pump must serve.
LRESULT CALLBACK CountingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_APP)
        ++*reinterpret_cast<int*>(lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(UrlTest, MessagesFlowAndQuitIsKeptForTheThreadsLoop) {
    m_server.SetAnswer("/slow", HttpAnswer::Slow(Bytes(5000), 1000, 20));
    ThreadTests::RunBounded("download with a message queue", [&] {
        WNDCLASSW windowClass = {};
        windowClass.lpfnWndProc = &CountingWindowProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"UrlTestCountingWindow";
        ::RegisterClassW(&windowClass);
        const HWND window = ::CreateWindowW(windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                            windowClass.hInstance, nullptr);
        ASSERT_NE(nullptr, window);
        int dispatched = 0;
        ::PostMessageW(window, WM_APP, 0, reinterpret_cast<LPARAM>(&dispatched));
        RecordingCallback callback;
        DWORD status = 0;
        EXPECT_TRUE(Url(m_server.Url(L"/slow")).Download(callback, status));
        EXPECT_EQ(1, dispatched);

        ::PostQuitMessage(7);
        RecordingCallback quitCallback;
        EXPECT_FALSE(Url(m_server.Url(L"/slow")).Download(quitCallback, status));
        EXPECT_LT(quitCallback.body.size(), 5000u);
        MSG message = {};
        EXPECT_TRUE(::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
        EXPECT_EQ(UINT(WM_QUIT), message.message);
        EXPECT_EQ(7u, message.wParam);
        ::DestroyWindow(window);
        ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    });
}

TEST(UrlOpenInBrowser, OnlyWebAddressesGoToTheShell) {
    FoundationTests::ShellLaunchRecorder shell;
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    const struct {
        const wchar_t* address;
        INT_PTR shellCode;
        bool launched;
        bool result;
        const wchar_t* check;  // the failed check reported, null for none
    } cases[] = {
        {L"http://example.com/help", 42, true, true, nullptr},
        {L"HTTPS://example.com/", 42, true, true, nullptr},
        {L"http://example.com/", SE_ERR_NOASSOC, true, false, L"((res > 32))"},
        {L"", 42, false, false, L"((!url.empty()))"},
        {L"C:\\Windows\\notepad.exe", 42, false, false, L"((ParseAddress(url, parts)))"},
        {L"file:///C:/Windows/notepad.exe", 42, false, false, L"((ParseAddress(url, parts)))"},
        {L"javascript:alert(1)", 42, false, false, L"((ParseAddress(url, parts)))"},
        {L"www.example.com", 42, false, false, L"((ParseAddress(url, parts)))"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.address << "'");
        FoundationTests::ShellLaunchRecorder::launches.clear();
        FoundationTests::ShellLaunchRecorder::instanceCodes = {c.shellCode};
        sink.reports.clear();
        EXPECT_EQ(c.result, Url(c.address).OpenInBrowser());
        ASSERT_EQ(c.launched ? 1u : 0u, FoundationTests::ShellLaunchRecorder::launches.size());
        if (c.launched) {
            const FoundationTests::ShellLaunch& launch = FoundationTests::ShellLaunchRecorder::launches[0];
            EXPECT_EQ(L"open", launch.verb);
            EXPECT_EQ(c.address, launch.file);
            EXPECT_EQ(L"", launch.parameters);
            EXPECT_EQ(SW_SHOWNORMAL, launch.show);
        }
        ASSERT_EQ(c.check ? 1u : 0u, sink.reports.size());
        if (c.check) {
            EXPECT_EQ(Reporting::Error, sink.reports[0].severity);
            EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(c.check)) << sink.reports[0].text;
        }
    }
}

TEST(UrlRequestFlags, CertificatesAreCheckedAndHttpsIsNotLeftForHttp) {
    const DWORD unsafe = INTERNET_FLAG_IGNORE_CERT_DATE_INVALID | INTERNET_FLAG_IGNORE_CERT_CN_INVALID |
                         INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTP;
    const DWORD expected = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_EXISTING_CONNECT |
                           INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS | INTERNET_FLAG_NO_UI;
    EXPECT_EQ(expected, Internet::_DownloadRequestFlags(false));
    EXPECT_EQ(expected | INTERNET_FLAG_SECURE, Internet::_DownloadRequestFlags(true));
    EXPECT_EQ(0u, Internet::_DownloadRequestFlags(true) & unsafe);
}

TEST(AddDefaultScheme, PrefixesOnlyAddressesWithoutOne) {
    const struct {
        const wchar_t* address;
        const wchar_t* expected;
    } cases[] = {
        {L"", L""},
        {L"www.example.com/setup.exe", L"http://www.example.com/setup.exe"},
        {L"example.com:8080", L"http://example.com:8080"},
        {L"https://example.com", L"https://example.com"},
        {L"ftp://example.com", L"ftp://example.com"},
        {L"HTTP://EXAMPLE.COM", L"HTTP://EXAMPLE.COM"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "'" << c.address << "'");
        EXPECT_EQ(c.expected, Internet::AddDefaultScheme(c.address));
    }
}

}  // namespace

namespace {

TEST_F(UrlTest, LastModifiedOfTheOkAnswerOnly) {
    m_server.SetAnswer("/dated", HttpAnswer::NotModifiedIfAsked("body", "Tue, 02 Mar 2021 08:09:10 GMT"));
    m_server.SetAnswer("/plain", HttpAnswer::Ok("body"));
    const std::wstring target = m_folder / L"dated.bin";
    Url dated(m_server.Url(L"/dated"));
    ASSERT_TRUE(DownloadToFile(dated, target));
    EXPECT_EQ(L"Tue, 02 Mar 2021 08:09:10 GMT", dated.GetLastModified());

    // A 304 brings no file and forgets the earlier date.
    dated.SetIfModifiedSince(L"Tue, 02 Mar 2021 08:09:10 GMT");
    EXPECT_FALSE(DownloadToFile(dated, target));
    EXPECT_EQ(L"", dated.GetLastModified());

    Url plain(m_server.Url(L"/plain"));
    ASSERT_TRUE(DownloadToFile(plain, target));
    EXPECT_EQ(L"", plain.GetLastModified());
}

TEST_F(UrlTest, DownloadToFileObserverSeesWrittenChunksAndCancels) {
    const std::string body = Bytes(5000);
    m_server.SetAnswer("/five", HttpAnswer::Ok(body));
    const std::wstring target = m_folder.WriteFile(L"kept.bin", "old");
    Url url(m_server.Url(L"/five"));

    RecordingCallback seen;
    bool result = false;
    ThreadTests::RunBounded("DownloadToFile", [&] { result = url.DownloadToFile(m_folder / L"seen.bin", &seen); });
    EXPECT_TRUE(result);
    EXPECT_TRUE(seen.body == body);

    RecordingCallback cancelling(1);
    ThreadTests::RunBounded("DownloadToFile", [&] { result = url.DownloadToFile(target, &cancelling); });
    EXPECT_FALSE(result);
    EXPECT_EQ("old", Testing::ReadFileBytes(target));
    EXPECT_EQ(1u, cancelling.chunkSizes.size());
}

}  // namespace
