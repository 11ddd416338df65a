#include "foundation/filesystem/GrowBuffer.h"

#include <algorithm>
#include <vector>

namespace FileSystem {

bool _GrowBufferCall(const std::function<DWORD(wchar_t* buffer, DWORD size)>& fill, DWORD initialSize,
                     DWORD maximum, std::wstring& result, DWORD* pLastError, DWORD minimumSize) {
    DWORD size = initialSize < 33 ? 32 : initialSize;
    std::vector<wchar_t> buffer;
    for (int attempt = 1;; ++attempt) {
        size = std::max(size, minimumSize);
        buffer.resize(size);
        SetLastError(0);
        const DWORD count = fill(buffer.data(), size);
        if (pLastError)
            *pLastError = GetLastError();
        if (count <= size - 2) {
            result.assign(buffer.data(), count);
            return true;
        }
        if (count > maximum)
            return false;
        DWORD request = count;
        // A function that truncates answers the buffer's size (or one less)
        // rather than the size it needs: double.
        if (count <= size)
            request = std::max<DWORD>(size * 2, 128);
        const DWORD newSize = std::min(request, maximum + 1);
        if (newSize <= size || attempt >= 10)
            return false;
        size = newSize;
    }
}

}  // namespace FileSystem
