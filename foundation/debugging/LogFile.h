#pragma once
// One file the log appends to: opened on first need (with its folder), kept
// open until the owner goes, shared with readers, writers and deleters.
//
// Threads: Open runs under the log's lock; Write runs on any thread without a
// lock, as one WriteFile call on the handle published by Open.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace Debugging {

class LogFile {
public:
    LogFile() = default;
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    bool IsOpen() const { return m_handle.load() != INVALID_HANDLE_VALUE; }
    // Creates the folder with its missing parents, opens or creates the file
    // and moves to its end. A failure is tried again by the next call.
    bool Open(const std::wstring& path);
    // The text as UTF-8 in one WriteFile call.
    bool Write(const wlitestring& text);
    void Close();

private:
    std::atomic<HANDLE> m_handle{INVALID_HANDLE_VALUE};
};

}  // namespace Debugging
