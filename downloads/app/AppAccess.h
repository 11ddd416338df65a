#pragma once
// The application's three shared objects, reached from the download list
// without linking the shell: the application object fills this layer when it
// is constructed and empties it when it goes.
//
//   Settings* pSettings = Brunlow::AppAccess::GetSettings();   // raises when absent
//
// Thread: filled and emptied on the GUI thread before and after the program
// runs; the engine accessor is for the GUI thread only.
#include "engine/KavennaEngine.h"

#include <boost/shared_ptr.hpp>

class Settings;
namespace FileSystem {
class XmlFile;
}

namespace Brunlow {

class IAppAccess {
public:
    virtual ~IAppAccess() = default;
    virtual Settings* GetSettings() = 0;
    virtual FileSystem::XmlFile* GetSkinManager() = 0;
    virtual boost::shared_ptr<KavennaEngine::IEngine> GetKavennaEngine() = 0;
};

namespace AppAccess {

// The application object's layer; null empties it. Not owned.
void Set(IAppAccess* pAccess);
IAppAccess* Get();

// Forward to the layer. Without one, each reports the check its
// application accessor would ("((m_pSettings))", "((m_pSkinManager))",
// "((m_pKavennaEngine))") at assertion severity and, should that return,
// gives null.
Settings* GetSettings();
FileSystem::XmlFile* GetSkinManager();
boost::shared_ptr<KavennaEngine::IEngine> GetKavennaEngine();

}  // namespace AppAccess
}  // namespace Brunlow
