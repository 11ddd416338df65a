#pragma once
// Places text at the very end of a readable page, followed by a page that may
// not be touched: code that reads past the text's length faults at once.
#include <windows.h>

#include <cstring>

namespace FoundationTests {

class GuardedBuffer {
public:
    GuardedBuffer(const void* bytes, std::size_t size) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        m_pageSize = info.dwPageSize;
        m_base = static_cast<char*>(VirtualAlloc(nullptr, 2 * m_pageSize, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + m_pageSize, m_pageSize, PAGE_NOACCESS, &old);
        m_data = m_base + m_pageSize - size;
        std::memcpy(m_data, bytes, size);
    }
    ~GuardedBuffer() { VirtualFree(m_base, 0, MEM_RELEASE); }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;

    template <class Ch>
    const Ch* As() const {
        return reinterpret_cast<const Ch*>(m_data);
    }

private:
    std::size_t m_pageSize = 0;
    char* m_base = nullptr;
    char* m_data = nullptr;
};

}  // namespace FoundationTests
