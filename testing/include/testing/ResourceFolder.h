#pragma once
// A resource folder written by a test, and a manager over it with the
// folder's metadata provider and one XML storage; shared by the tests of
// every subsystem that reads resources:
//
//   ResourceFolder folder;                       // en-us (default), de-de; skins Dark (default), Light
//   folder.WriteResources(L"en-us\\Dark", R"(<String name="Title" value="x"/>)");
//   folder.Open();
//   folder.manager->GetStringByName(L"Title");
#include "resources/resourcelib/IManager.h"
#include "resources/resourcelib/ManagerFactory.h"
#include "resources/resourcelib/XmlMetadataProvider.h"
#include "resources/resourcelib/XmlStorage.h"
#include "testing/TempFolder.h"

#include <boost/make_shared.hpp>

#include <string>

namespace ResourceTesting {

inline std::string ResourcesXml(const std::string& elements) {
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ResourceLib><Resources>" + elements +
           "</Resources></ResourceLib>\n";
}

const char kStandardMetadata[] = R"(<?xml version="1.0" encoding="utf-8"?>
<ResourceLib>
  <Languages>
    <Language name="en-us" title="English" locale="1033" default="1"/>
    <Language name="de-de" title="Deutsch" locale="1031"/>
  </Languages>
  <Skins>
    <Skin name="Dark" titleID="DarkTitle" default="1"/>
    <Skin name="Light" titleID="LightTitle"/>
  </Skins>
</ResourceLib>
)";

class ResourceFolder {
    // First, so that it goes last: the documents are released before the files.
    Testing::TempFolder m_folder;

public:
    explicit ResourceFolder(const std::string& metadata = kStandardMetadata) {
        m_folder.WriteFile(L"Metadata.xml", metadata);
    }

    const std::wstring& Root() const { return m_folder.Path(); }
    std::wstring Path(const std::wstring& relative) const { return m_folder / relative; }

    // Resources.xml of a layer folder ("Common", "en-us\\Dark", ...).
    void WriteResources(const std::wstring& layer, const std::string& elements) const {
        m_folder.WriteFile(layer + L"\\Resources.xml", ResourcesXml(elements));
    }
    std::wstring WriteFile(const std::wstring& relative, const std::string& bytes) const {
        return m_folder.WriteFile(relative, bytes);
    }

    // Builds the manager; language and skin are the metadata's defaults.
    void Open() {
        manager = ResourceLib::CreateManager();
        provider = boost::make_shared<ResourceLib::XmlMetadataProvider>(Root(), manager);
        manager->SetLanguageProvider(provider);
        manager->SetSkinProvider(provider);
        storage = boost::make_shared<ResourceLib::XmlStorage>(Root());
        manager->AddStorage(storage);
    }

    boost::shared_ptr<ResourceLib::IManager> manager;
    boost::shared_ptr<ResourceLib::XmlMetadataProvider> provider;
    boost::shared_ptr<ResourceLib::XmlStorage> storage;
};

}  // namespace ResourceTesting
