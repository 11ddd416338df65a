#pragma once
// The byte stream that downloads write into. Streams are held by
// boost::shared_ptr and used by one thread at a time.
#include "foundation/core/InterfaceCore.h"

#include <windows.h>

namespace STLHelpers_ {

enum StreamAccessMode { AccessRead = 0, AccessWrite = 1, AccessReadWrite = 2 };
// Create truncates an existing file; Append opens or creates and starts at the end.
enum StreamOpenMode { OpenCreate = 0, OpenExisting = 1, OpenAppend = 2 };
enum StreamSeekOrigin { SeekBegin = 0, SeekCurrent = 1, SeekEnd = 2 };

class IStream : public InterfaceCore::IInterfaceCore<IStream>,
                public InterfaceCore::_Debug::ObjectProperties<IStream> {
public:
    virtual int GetAccessMode() const = 0;
    virtual int GetOpenMode() const = 0;
    virtual bool CanRead() const {
        const int mode = GetAccessMode();
        return mode == AccessRead || mode == AccessReadWrite;
    }
    virtual bool CanWrite() const {
        const int mode = GetAccessMode();
        return mode == AccessWrite || mode == AccessReadWrite;
    }
    virtual bool IsSeekable() const = 0;
    // 0 when it cannot be read.
    virtual ULONGLONG GetPosition() = 0;
    virtual ULONGLONG GetSize() = 0;
    // Leaves the position at the new end.
    virtual bool SetSize(ULONGLONG size) = 0;
    // Any origin other than SeekBegin and SeekCurrent counts from the end.
    virtual bool Seek(LONGLONG offset, int origin) = 0;
    // One transfer each: fewer bytes than asked is no failure.
    virtual bool Read(void* buffer, DWORD count, DWORD* pCountRead) = 0;
    virtual bool Write(const void* buffer, DWORD count, DWORD* pCountWritten) = 0;
    virtual bool Flush() { return CanWrite(); }
    virtual bool QueryOption() { return false; }
};

}  // namespace STLHelpers_
