#include "downloads/app/AppAccess.h"

#include "foundation/errors/Checks.h"

namespace Brunlow {
namespace AppAccess {

namespace {
IAppAccess* volatile g_pAccess = nullptr;
}

void Set(IAppAccess* pAccess) {
    g_pAccess = pAccess;
}

IAppAccess* Get() {
    return g_pAccess;
}

Settings* GetSettings() {
    if (IAppAccess* pAccess = g_pAccess)
        return pAccess->GetSettings();
    const Settings* m_pSettings = nullptr;
    CHECK_ASSERT(m_pSettings);
    return nullptr;
}

FileSystem::XmlFile* GetSkinManager() {
    if (IAppAccess* pAccess = g_pAccess)
        return pAccess->GetSkinManager();
    const FileSystem::XmlFile* m_pSkinManager = nullptr;
    CHECK_ASSERT(m_pSkinManager);
    return nullptr;
}

boost::shared_ptr<KavennaEngine::IEngine> GetKavennaEngine() {
    if (IAppAccess* pAccess = g_pAccess)
        return pAccess->GetKavennaEngine();
    const KavennaEngine::IEngine* m_pKavennaEngine = nullptr;
    CHECK_ASSERT(m_pKavennaEngine);
    return {};
}

}  // namespace AppAccess
}  // namespace Brunlow
