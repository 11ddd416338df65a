#pragma once
// Pieces the download benchmarks share: a body to serve, an output file, the
// plain Winsock reference download and the timing of one download.
#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>

namespace Testing {

// A body of `bytes` bytes that no compression would shrink much.
std::string MakeBenchmarkBody(std::size_t bytes);

// A file written from the start, closed on destruction.
class OutputFile {
public:
    explicit OutputFile(const std::wstring& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool Write(const void* data, DWORD size);

private:
    HANDLE m_handle;
};

// GET of `target` on 127.0.0.1:port with plain Winsock recv into 64 KB
// buffers, the body written to `path`. WSAStartup is the caller's.
bool DownloadWithWinsock(unsigned short port, const std::string& target, const std::wstring& path);

// Runs one download and prints its line; megabytes (2^20 bytes) per second,
// 0 when the download failed or the file at `path` is not `bytes` long.
double MeasureDownload(const char* name, std::size_t bytes, const std::wstring& path,
                       const std::function<bool()>& download);

}  // namespace Testing
