// How much the download path costs over the platform it stands on: one body
// from the loopback server fetched (a) through Internet::Url::DownloadToFile,
// (b) with a bare WinInet loop of the same 2,048-byte reads writing the same
// file, (c) with plain Winsock recv into 64 KB buffers writing the same file.
//
//   download_benchmark.exe [megabytes, default 64]
#include <winsock2.h>  // before windows.h, which the headers below include

#include "foundation/internet/Url.h"
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
const int kWinsockBufferSize = 64 * 1024;

class OutputFile {
public:
    explicit OutputFile(const std::wstring& path)
        : m_handle(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr)) {}
    ~OutputFile() {
        if (m_handle != INVALID_HANDLE_VALUE)
            ::CloseHandle(m_handle);
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Write(const void* data, DWORD size) {
        DWORD written = 0;
        return ::WriteFile(m_handle, data, size, &written, nullptr) && written == size;
    }

private:
    HANDLE m_handle;
};

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
        OutputFile file(path);
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

bool DownloadWithWinsock(unsigned short port, const std::string& target, const std::wstring& path) {
    const SOCKET socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (socket == INVALID_SOCKET)
        return false;
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    bool ok = ::connect(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
              ::send(socket, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size());
    OutputFile file(path);
    ok = ok && file.IsOpen();
    std::vector<char> buffer(kWinsockBufferSize);
    std::string head;
    bool inBody = false;
    int received = 0;
    while (ok && (received = ::recv(socket, buffer.data(), kWinsockBufferSize, 0)) > 0) {
        if (inBody) {
            ok = file.Write(buffer.data(), static_cast<DWORD>(received));
            continue;
        }
        head.append(buffer.data(), static_cast<size_t>(received));
        const size_t end = head.find("\r\n\r\n");
        if (end != std::string::npos) {
            inBody = true;
            ok = file.Write(head.data() + end + 4, static_cast<DWORD>(head.size() - end - 4));
        }
    }
    ::closesocket(socket);
    return ok && received == 0 && inBody;
}

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Megabytes (2^20 bytes) per second, 0 when the download failed or came short.
double Measure(const char* name, size_t bytes, const std::wstring& path, const std::function<bool()>& download) {
    ::DeleteFileW(path.c_str());
    LARGE_INTEGER frequency, start, end;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&start);
    const bool ok = download();
    ::QueryPerformanceCounter(&end);
    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    const bool complete = ok && FileSize(path) == bytes;
    const double rate = complete ? bytes / 1048576.0 / seconds : 0.0;
    std::printf("%-40s %8.3f s  %8.2f MB/s%s\n", name, seconds, rate, complete ? "" : "  (FAILED)");
    std::fflush(stdout);
    return rate;
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
    std::string body(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i)
        body[i] = static_cast<char>(i * 131 >> 3);
    Testing::LoopbackHttpServer server;
    server.SetAnswer("/body", Testing::HttpAnswer::Ok(std::move(body)));
    server.SetAnswer("/warm-up", Testing::HttpAnswer::Ok("warm"));
    const std::wstring address = server.Url(L"/body");
    Testing::TempFolder folder;
    const std::wstring path = folder / L"body.bin";

    // Loads WinInet and its settings before anything is timed.
    DownloadThroughUrl(server.Url(L"/warm-up"), path);

    std::printf("%zu MB from 127.0.0.1:%u\n", megabytes, server.Port());
    const double throughUrl = Measure("(a) Internet::Url::DownloadToFile", bytes, path,
                                      [&] { return DownloadThroughUrl(address, path); });
    const double bareWinInet = Measure("(b) bare WinInet, 2,048-byte reads", bytes, path,
                                       [&] { return DownloadWithBareWinInet(address, path); });
    const double winsock = Measure("(c) Winsock recv, 64 KB buffers", bytes, path,
                                   [&] { return DownloadWithWinsock(server.Port(), "/body", path); });
    std::printf("a/b %.3f (goal 0.9 or more)\n", bareWinInet > 0 ? throughUrl / bareWinInet : 0.0);
    std::printf("a/c %.3f\n", winsock > 0 ? throughUrl / winsock : 0.0);
    ::WSACleanup();
    return throughUrl > 0 && bareWinInet > 0 && winsock > 0 ? 0 : 1;
}
