#pragma once
// CommonDialogs::Lib: the common-dialog library, bound while the program's
// globals are built: "CommonDialogs.dll" beside the executable is loaded and
// its export hands out the library object, held until the process ends.
// When the library or its object is missing every operation fails (false)
// and nothing is called.
//
//   CommonDialogs::Lib.Initialize(&host, folder, description, language, skin);
//
// Thread: the GUI thread.
#include "commondialogs/CommonDialogs.h"

#include <windows.h>

#include <boost/shared_ptr.hpp>

#include <string>

namespace CommonDialogs {

class LibraryBinding {
public:
    // Binds the library beside the executable.
    LibraryBinding();
    // Releases the object, then the library.
    ~LibraryBinding();
    LibraryBinding(const LibraryBinding&) = delete;
    LibraryBinding& operator=(const LibraryBinding&) = delete;

    bool IsBound() const { return m_pLibrary != nullptr; }

    // Gives the library its host, then initialises it.
    bool Initialize(IHost* host, const std::wstring& resourceFolder,
                    const ApplicationFramework::ProductDescription& product, const std::wstring& firstText,
                    const std::wstring& secondText);
    bool SetResourcesLanguage(const std::wstring& name);
    bool SetResourcesSkin(const std::wstring& name);
    void Uninitialize();

private:
    void Release();

    HMODULE m_module = nullptr;
    boost::shared_ptr<Library> m_pLibraryOwner;
    Library* m_pLibrary = nullptr;
};

extern LibraryBinding Lib;

}  // namespace CommonDialogs
