#pragma once
// A stream over a Win32 file handle, opened in the constructor and closed in
// the destructor. Used by one thread at a time.
//
//   STLHelpers::CustomValues options;
//   STLHelpers::SetCustomValue(options, L"deleteOnClose", true);
//   boost::shared_ptr<STLHelpers_::IStream> pScratch =
//       FileSystem::OpenFileStream(path, STLHelpers_::OpenCreate, STLHelpers_::AccessReadWrite, options);
#include "foundation/internet/AttributeKeeper.h"
#include "foundation/internet/IStream.h"
#include "foundation/strings/LiteString.h"
#include "foundation/system/AutoHandle.h"
#include "foundation/core/CustomValues.h"

#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <memory>

namespace FileSystem {

// The steps of the constructor that do not depend on the interface. Throws
// std::runtime_error "Can't open file in this mode" or "Can't create stream".
// `pKeeper` receives the attribute keeper for write access before the file is
// opened, so a read-only bit it cleared is set again when opening fails.
HANDLE _OpenFileStreamHandle(const wlitestring& path, int openMode, int accessMode,
                             const STLHelpers::CustomValues& options, std::unique_ptr<AttributeKeeper>& pKeeper);

// Each operation returns the success of its one Win32 call; a call that fails
// without a last error counts as done. The error stays the thread's last error.
bool _StreamCallSucceeded(BOOL result);

template <class Interface>
class FileStreamT : public Interface {
public:
    FileStreamT(const wlitestring& path, int openMode, int accessMode, const STLHelpers::CustomValues& options)
        : m_openMode(openMode), m_accessMode(accessMode), m_options(options) {
        m_handle.Reset(_OpenFileStreamHandle(path, openMode, accessMode, m_options, m_pAttributeKeeper));
    }
    // Members go in reverse order: the keeper restores read-only, then the
    // handle closes (a "deleteOnClose" file goes then), then the options.
    ~FileStreamT() override = default;

    int GetAccessMode() const override { return m_accessMode; }
    int GetOpenMode() const override { return m_openMode; }
    bool IsSeekable() const override { return true; }

    ULONGLONG GetPosition() override {
        LARGE_INTEGER position = {};
        return _SetPointer(0, FILE_CURRENT, position) ? static_cast<ULONGLONG>(position.QuadPart) : 0;
    }
    ULONGLONG GetSize() override {
        DWORD high = 0;
        const DWORD low = ::GetFileSize(m_handle.Get(), &high);
        if (low == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR)
            return 0;
        return (static_cast<ULONGLONG>(high) << 32) | low;
    }
    bool SetSize(ULONGLONG size) override {
        LARGE_INTEGER position = {};
        if (!_SetPointer(static_cast<LONGLONG>(size), FILE_BEGIN, position))
            return false;
        return _StreamCallSucceeded(::SetEndOfFile(m_handle.Get()));
    }
    bool Seek(LONGLONG offset, int origin) override {
        const DWORD method = origin == STLHelpers_::SeekBegin     ? FILE_BEGIN
                             : origin == STLHelpers_::SeekCurrent ? FILE_CURRENT
                                                                  : FILE_END;
        LARGE_INTEGER position = {};
        return _SetPointer(offset, method, position);
    }
    bool Read(void* buffer, DWORD count, DWORD* pCountRead) override {
        DWORD read = 0;
        const BOOL result = ::ReadFile(m_handle.Get(), buffer, count, &read, nullptr);
        if (pCountRead)
            *pCountRead = read;
        return _StreamCallSucceeded(result);
    }
    bool Write(const void* buffer, DWORD count, DWORD* pCountWritten) override {
        DWORD written = 0;
        const BOOL result = ::WriteFile(m_handle.Get(), buffer, count, &written, nullptr);
        if (pCountWritten)
            *pCountWritten = written;
        return _StreamCallSucceeded(result);
    }
    bool Flush() override { return _StreamCallSucceeded(::FlushFileBuffers(m_handle.Get())); }

private:
    // SetFilePointer's high part gives 64-bit positions.
    bool _SetPointer(LONGLONG offset, DWORD method, LARGE_INTEGER& newPosition) {
        LARGE_INTEGER move;
        move.QuadPart = offset;
        ::SetLastError(NO_ERROR);
        newPosition.LowPart = ::SetFilePointer(m_handle.Get(), static_cast<LONG>(move.LowPart), &move.HighPart, method);
        newPosition.HighPart = move.HighPart;
        // INVALID_SET_FILE_POINTER is also a valid low part: only the last error tells.
        return newPosition.LowPart != INVALID_SET_FILE_POINTER || ::GetLastError() == NO_ERROR;
    }

    int m_openMode;
    int m_accessMode;
    STLHelpers::CustomValues m_options;
    STLHelpers::AutoHandle m_handle;
    std::unique_ptr<AttributeKeeper> m_pAttributeKeeper;  // write access only
};

extern template class FileStreamT<STLHelpers_::IStream>;
typedef FileStreamT<STLHelpers_::IStream> FileStream;

boost::shared_ptr<STLHelpers_::IStream> OpenFileStream(const wlitestring& path, int openMode, int accessMode,
                                                       const STLHelpers::CustomValues& options);

}  // namespace FileSystem
