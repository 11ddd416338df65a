// How the Updater's download compares with the platform under it: one body
// from the loopback server fetched (a) through Engine::HttpDownloader into an
// Engine::VerboseFileWriter, as the worker fetches the setup package, and
// (b) with plain Winsock recv into 64 KB buffers, each writing a file.
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

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Goes on to the end, as the worker does when nobody cancels.
class Consumer : public Engine::IVerboseWritingConsumerCallback {
public:
    bool OnBegin(unsigned long) override { return true; }
    bool OnProgress(unsigned long) override { return true; }
    void OnEnd(bool) override {}
};

bool DownloadThroughUpdater(const std::wstring& address, const std::wstring& path) {
    Consumer consumer;
    Engine::VerboseFileWriter writer;
    writer.SetDestination(path, &consumer);
    Engine::HttpDownloader downloader(address, &writer);
    return downloader.Download();
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
    const double winsock = Testing::MeasureDownload("(b) Winsock recv, 64 KB buffers", bytes, path,
                                                    [&] { return Testing::DownloadWithWinsock(server.Port(), "/body", path); });
    std::printf("a/b %.3f (goal 0.5 or more)\n", winsock > 0 ? updater / winsock : 0.0);
    ::WSACleanup();
    return updater > 0 && winsock > 0 ? 0 : 1;
}
