// How the Updater's download compares with the platform under it: one body
// from the loopback server fetched (a) through Engine::HttpDownloader into an
// Engine::VerboseFileWriter, as the worker fetches the setup package, (b)
// with plain Winsock recv into 64 KB buffers, and (c) with a bare WinHTTP
// loop of the same read size as (a), each writing a file. The goal is a/b of
// 0.5 or more; a/c shows what the Updater's own code costs over WinHTTP.
//
//   updater_download_benchmark.exe [megabytes, default 64]
#include <winsock2.h>  // before windows.h, which the headers below include

#include "testing/DownloadBench.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"
#include "updater/engine/HttpDownloader.h"
#include "updater/engine/IVerboseWritingConsumerCallback.h"
#include "updater/engine/VerboseFileWriter.h"

#include <windows.h>
#include <winhttp.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Goes on to the end, as the worker does when nobody cancels.
class Consumer : public Engine::IVerboseWritingConsumerCallback {
public:
    bool OnBegin(unsigned long) override { return true; }
    bool OnProgress(unsigned long) override {
        ++chunks;
        return true;
    }
    void OnEnd(bool) override {}

    unsigned long chunks = 0;
};

unsigned long g_lastChunks = 0;

bool DownloadThroughUpdater(const std::wstring& address, const std::wstring& path) {
    Consumer consumer;
    Engine::VerboseFileWriter writer;
    writer.SetDestination(path, &consumer);
    Engine::HttpDownloader downloader(address, &writer);
    const bool ok = downloader.Download();
    g_lastChunks = consumer.chunks;
    return ok;
}

bool DownloadWithBareWinHttp(unsigned short port, const std::wstring& target, const std::wstring& path) {
    HINTERNET session = ::WinHttpOpen(L"benchmark", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                      WINHTTP_NO_PROXY_BYPASS, 0);
    HINTERNET connection = session ? ::WinHttpConnect(session, L"127.0.0.1", port, 0) : nullptr;
    HINTERNET request = connection ? ::WinHttpOpenRequest(connection, L"GET", target.c_str(), nullptr,
                                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, 0)
                                   : nullptr;
    bool ok = request && ::WinHttpSendRequest(request, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0,
                                              0, 0) &&
              ::WinHttpReceiveResponse(request, nullptr);
    Testing::OutputFile file(path);
    std::vector<BYTE> buffer(Engine::kHttpReadSize);
    DWORD read = 0;
    ok = ok && file.IsOpen();
    while (ok && (ok = ::WinHttpReadData(request, buffer.data(), Engine::kHttpReadSize, &read) != FALSE) && read > 0)
        ok = file.Write(buffer.data(), read);
    for (HINTERNET handle : {request, connection, session}) {
        if (handle)
            ::WinHttpCloseHandle(handle);
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    if (megabytes == 0) {
        std::fprintf(stderr, "usage: updater_download_benchmark.exe [megabytes]\n");
        return 2;
    }
    WSADATA winsockData;
    if (::WSAStartup(MAKEWORD(2, 2), &winsockData) != 0)
        return 1;

    const size_t bytes = megabytes * 1024 * 1024;
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/body", Testing::HttpAnswer::Ok(Testing::MakeBenchmarkBody(bytes)));
    server.SetAnswer("/warm-up", Testing::HttpAnswer::Ok("warm"));
    Testing::TempFolder folder;
    const std::wstring path = folder / L"body.bin";

    // Loads WinHTTP and its settings before anything is timed.
    DownloadThroughUpdater(server.Url(L"/warm-up"), path);

    std::printf("%zu MB from 127.0.0.1:%u\n", megabytes, server.Port());
    const double updater = Testing::MeasureDownload("(a) Updater's HttpDownloader", bytes, path,
                                                    [&] { return DownloadThroughUpdater(server.Url(L"/body"), path); });
    std::printf("    in %lu chunks\n", g_lastChunks);
    const double winsock = Testing::MeasureDownload("(b) Winsock recv, 64 KB buffers", bytes, path,
                                                    [&] { return Testing::DownloadWithWinsock(server.Port(), "/body", path); });
    const double bareWinHttp = Testing::MeasureDownload("(c) bare WinHTTP, same read size", bytes, path,
                                                        [&] { return DownloadWithBareWinHttp(server.Port(), L"/body", path); });
    std::printf("a/b %.3f (goal 0.5 or more)\n", winsock > 0 ? updater / winsock : 0.0);
    std::printf("a/c %.3f\n", bareWinHttp > 0 ? updater / bareWinHttp : 0.0);
    ::WSACleanup();
    return updater > 0 && winsock > 0 && bareWinHttp > 0 ? 0 : 1;
}
