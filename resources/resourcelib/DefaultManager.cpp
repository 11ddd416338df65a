#include "resources/resourcelib/DefaultManager.h"

#include "resources/resourcelib/FileStorage.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "resources/resourcelib/WinResStorage.h"
#include "resources/resourcelib/XmlMetadataProvider.h"
#include "resources/resourcelib/XmlStorage.h"

namespace ResourceLib {

boost::shared_ptr<IManager> CreateDefaultManager(const wlitestring& rootPath, int moduleIdBase) {
    const boost::shared_ptr<IManager> manager = CreateManager();
    if (!manager)
        return manager;
    const boost::shared_ptr<XmlMetadataProvider> metadata =
        boost::make_shared<XmlMetadataProvider>(rootPath, boost::weak_ptr<IManager>(manager));
    manager->SetLanguageProvider(metadata);
    manager->SetSkinProvider(metadata);
    manager->AddStorage(CreateFileStorage(rootPath));
    manager->AddStorage(boost::shared_ptr<IStorage>(new XmlStorage(rootPath)));
    if (moduleIdBase >= 0)
        manager->AddStorage(CreateWinResStorage(moduleIdBase));
    return manager;
}

}  // namespace ResourceLib
