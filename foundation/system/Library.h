#pragma once
// A library loaded by path, freed with its owner unless it is to be kept;
// and the module that holds the running code.
#include "foundation/errors/ErrorCode.h"
#include "foundation/strings/LiteString.h"

#include <windows.h>

namespace System {

class Library {
public:
    // keep: the library stays loaded after Free and destruction.
    explicit Library(bool keep = false) noexcept : m_keep(keep) {}
    ~Library() { Free(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // LoadLibraryW; on failure the last error is kept as an HRESULT.
    bool Load(const wlitestring& path);
    void Free();

    HMODULE GetHandle() const noexcept { return m_module; }
    ErrorHandling::ErrorCode GetLastError() const noexcept { return m_lastError; }

private:
    ErrorHandling::ErrorCode m_lastError;
    HMODULE m_module = nullptr;
    bool m_keep;
};

// The module (executable or DLL) this code is linked into.
HMODULE GetCurrentModule();

}  // namespace System
