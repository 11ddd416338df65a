#pragma once
// What the download tests share: a callback that records every chunk and can
// cancel, and a folder listing to find left-over temporary files.
#include "foundation/internet/Url.h"

#include <windows.h>

#include <string>
#include <vector>

namespace InternetTests {

class RecordingCallback : public Internet::Url::IDownloadCallback {
public:
    // cancelAtChunk: the chunk (counted from 1) at which cancel is set; 0 never.
    explicit RecordingCallback(size_t cancelAtChunk = 0) : m_cancelAtChunk(cancelAtChunk) {}

    void OnData(const Internet::Url::Chunk* pChunk, ULONGLONG bytesSoFar, ULONGLONG contentLength,
                bool& cancel) override {
        body.append(reinterpret_cast<const char*>(pChunk->pData), pChunk->length);
        chunkSizes.push_back(pChunk->length);
        totals.push_back(bytesSoFar);
        contentLengths.push_back(contentLength);
        if (chunkSizes.size() == m_cancelAtChunk)
            cancel = true;
    }

    std::string body;
    std::vector<DWORD> chunkSizes;
    std::vector<ULONGLONG> totals;
    std::vector<ULONGLONG> contentLengths;

private:
    size_t m_cancelAtChunk;
};

// Names of the entries of a folder, "." and ".." aside.
inline std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    const HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

}  // namespace InternetTests
