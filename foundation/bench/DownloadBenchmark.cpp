// How much the download path costs over the platform it stands on: one body
// from the loopback server fetched (a) through Internet::Url::DownloadToFile,
// (b) with a bare WinInet loop of the same 2,048-byte reads writing the same
// file, (c) with plain Winsock recv into 64 KB buffers writing the same file.
//
//   download_benchmark.exe [megabytes, default 64]
#include <winsock2.h>  // before windows.h, which the headers below include

#include "foundation/internet/Url.h"
#include "testing/DownloadBench.h"
#include "testing/LoopbackHttpServer.h"
#include "testing/TempFolder.h"

#include <windows.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const DWORD kWinInetReadSize = 2048;

bool DownloadThroughUrl(const std::wstring& address, const std::wstring& path) {
    return Internet::Url(address).DownloadToFile(path);
}

bool DownloadWithBareWinInet(const std::wstring& address, const std::wstring& path) {
    HINTERNET session = ::InternetOpenW(L"Mozilla/4.0 (compatible)", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!session)
        return false;
    bool ok = false;
    HINTERNET request = ::InternetOpenUrlW(session, address.c_str(), L"Connection: Close", static_cast<DWORD>(-1),
                                           INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (request) {
        Testing::OutputFile file(path);
        BYTE buffer[kWinInetReadSize];
        DWORD read = 0;
        ok = file.IsOpen();
        while (ok && ::InternetReadFile(request, buffer, kWinInetReadSize, &read) && read > 0)
            ok = file.Write(buffer, read);
        ::InternetCloseHandle(request);
    }
    ::InternetCloseHandle(session);
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    const size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64;
    if (megabytes == 0) {
        std::fprintf(stderr, "usage: download_benchmark.exe [megabytes]\n");
        return 2;
    }
    WSADATA winsockData;
    if (::WSAStartup(MAKEWORD(2, 2), &winsockData) != 0)
        return 1;

    const size_t bytes = megabytes * 1024 * 1024;
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/body", Testing::HttpAnswer::Ok(Testing::MakeBenchmarkBody(bytes)));
    server.SetAnswer("/warm-up", Testing::HttpAnswer::Ok("warm"));
    const std::wstring address = server.Url(L"/body");
    Testing::TempFolder folder;
    const std::wstring path = folder / L"body.bin";

    // Loads WinInet and its settings before anything is timed.
    DownloadThroughUrl(server.Url(L"/warm-up"), path);

    std::printf("%zu MB from 127.0.0.1:%u\n", megabytes, server.Port());
    const double throughUrl = Testing::MeasureDownload("(a) Internet::Url::DownloadToFile", bytes, path,
                                      [&] { return DownloadThroughUrl(address, path); });
    const double bareWinInet = Testing::MeasureDownload("(b) bare WinInet, 2,048-byte reads", bytes, path,
                                       [&] { return DownloadWithBareWinInet(address, path); });
    const double winsock = Testing::MeasureDownload("(c) Winsock recv, 64 KB buffers", bytes, path,
                                   [&] { return Testing::DownloadWithWinsock(server.Port(), "/body", path); });
    std::printf("a/b %.3f (goal 0.9 or more)\n", bareWinInet > 0 ? throughUrl / bareWinInet : 0.0);
    std::printf("a/c %.3f\n", winsock > 0 ? throughUrl / winsock : 0.0);
    ::WSACleanup();
    return throughUrl > 0 && bareWinInet > 0 && winsock > 0 ? 0 : 1;
}
