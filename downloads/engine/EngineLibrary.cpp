#include "downloads/engine/EngineLibrary.h"

#include "foundation/filesystem/ShellFolders.h"
#include "foundation/system/Library.h"

namespace KavennaEngine {

namespace {

// The process-wide owner; the library object is deleted when it goes at exit.
boost::shared_ptr<Library>& SharedLibrary() {
    static boost::shared_ptr<Library> pLibrary;
    return pLibrary;
}

Library* g_pLibrary = nullptr;

// Built before the program's entry.
const bool g_isBound = BindLibrary(GetDefaultLibraryPath());

}  // namespace

Library* GetBoundLibrary() {
    return g_pLibrary;
}

std::wstring GetDefaultLibraryPath() {
    return FileSystem::GetModuleRelativePath(kLibraryFileName, nullptr);
}

bool BindLibrary(const wlitestring& path) {
    g_pLibrary = nullptr;
    SharedLibrary().reset();
    // Kept loaded: the library object's code lives in it until exit.
    System::Library module(true);
    if (!module.Load(path))
        return false;
    const auto entry = reinterpret_cast<EntryPoint>(::GetProcAddress(module.GetHandle(), kEntryPointName));
    if (!entry)
        return false;
    Library* pLibrary = entry();
    if (!pLibrary)
        return false;
    SharedLibrary().reset(pLibrary);
    g_pLibrary = pLibrary;
    return true;
}

}  // namespace KavennaEngine
