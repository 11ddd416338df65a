#include "appframework/commondialogs/CommonDialogsLib.h"

#include "foundation/filesystem/ShellFolders.h"

namespace CommonDialogs {

LibraryBinding Lib;

LibraryBinding::LibraryBinding() {
    const std::wstring path = FileSystem::GetApplicationFolder().GetFile(kLibraryFileName).GetPath();
    m_module = ::LoadLibraryW(path.c_str());
    if (!m_module)
        return;
    const auto entry = reinterpret_cast<EntryPoint>(::GetProcAddress(m_module, kEntryPointName));
    if (entry)
        m_pLibraryOwner.reset(entry());
    m_pLibrary = m_pLibraryOwner.get();
    if (!m_pLibrary)
        Release();
}

LibraryBinding::~LibraryBinding() { Release(); }

void LibraryBinding::Release() {
    m_pLibrary = nullptr;
    // The object's code lives in the library: it goes first.
    m_pLibraryOwner.reset();
    if (m_module)
        ::FreeLibrary(m_module);
    m_module = nullptr;
}

bool LibraryBinding::Initialize(IHost* host, const std::wstring& resourceFolder,
                                const ApplicationFramework::ProductDescription& product,
                                const std::wstring& firstText, const std::wstring& secondText) {
    if (!m_pLibrary)
        return false;
    m_pLibrary->SetHost(host);
    return m_pLibrary->Initialize(resourceFolder, product, firstText, secondText);
}

bool LibraryBinding::SetResourcesLanguage(const std::wstring& name) {
    return m_pLibrary && m_pLibrary->SetResourcesLanguage(name);
}

bool LibraryBinding::SetResourcesSkin(const std::wstring& name) {
    return m_pLibrary && m_pLibrary->SetResourcesSkin(name);
}

void LibraryBinding::Uninitialize() {
    if (m_pLibrary)
        m_pLibrary->Uninitialize();
}

}  // namespace CommonDialogs
