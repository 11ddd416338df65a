#include <winsock2.h>  // before windows.h

#include "testing/DownloadBench.h"

#include <cstdio>
#include <vector>

namespace Testing {

namespace {

const int kWinsockBufferSize = 64 * 1024;

ULONGLONG FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

}  // namespace

std::string MakeBenchmarkBody(std::size_t bytes) {
    std::string body(bytes, '\0');
    for (std::size_t i = 0; i < bytes; ++i)
        body[i] = static_cast<char>(i * 131 >> 3);
    return body;
}

OutputFile::OutputFile(const std::wstring& path)
    : m_handle(::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr)) {}

OutputFile::~OutputFile() {
    if (m_handle != INVALID_HANDLE_VALUE)
        ::CloseHandle(m_handle);
}

bool OutputFile::Write(const void* data, DWORD size) {
    DWORD written = 0;
    return ::WriteFile(m_handle, data, size, &written, nullptr) && written == size;
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

double MeasureDownload(const char* name, std::size_t bytes, const std::wstring& path,
                       const std::function<bool()>& download) {
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

}  // namespace Testing
