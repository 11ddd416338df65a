#pragma once
// The client of the elevation service: file, folder and registry work done
// by the service with its raised rights, one connection per call on the
// calling thread. Every answer is a bool (or a text); nothing raises.
//
//   GenericServiceClient::Library* pLibrary = GenericServiceClient::GetLibrary();
//   if (pLibrary && pLibrary->PathExists(folder)) ...
//
// Thread: any thread may call; calls share nothing but the disabled flag.
#include "appframework/serviceclient/IConsoleApplication.h"
#include "foundation/strings/LiteString.h"

#include <boost/shared_ptr.hpp>

// MoveFile and DeleteFile are winbase.h macros under UNICODE: every user of
// this header sees them expanded the same way.
#include <windows.h>

#include <atomic>
#include <string>

namespace GenericServiceClient {

class Library {
public:
    Library() = default;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // True until Disable.
    bool IsLibraryEnabled() const noexcept { return !disabled.load(); }
    // From now on every operation fails at once, without a report, and the
    // service COM thread (if it was ever started) is stopped without limit.
    // Called at shutdown; the client is never enabled again.
    void Disable() noexcept;

    // True when the service's answer is a success code (S_FALSE too). An
    // empty argument is reported at error level and gives false.
    bool CreateFolder(const wlitestring& path);
    bool DeleteFile(const wlitestring& path);
    bool PathOperation11(const wlitestring& path);
    bool PathExists(const wlitestring& path);
    bool MoveFile(const wlitestring& from, const wlitestring& to);
    // The string value of `valueName` (empty: the default value) under the
    // full key path "HKEY_LOCAL_MACHINE\..."; "" on any failure.
    std::wstring ReadRegistryValue(const wlitestring& key, const wlitestring& valueName);

    // A console application the service runs with its rights; empty when
    // disabled (quietly) or for an empty path (reported at error level).
    // Whether the service could make the application shows only in the
    // application's later answers.
    boost::shared_ptr<IConsoleApplication> CreateConsoleApplication(const wlitestring& path);

    std::atomic<bool> disabled{false};
};

// The process's one Library, built during static initialisation and released
// by an exit handler; null once that has run.
Library* GetLibrary();

}  // namespace GenericServiceClient
