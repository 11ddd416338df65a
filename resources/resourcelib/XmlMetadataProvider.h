#pragma once
// XmlMetadataProvider: the languages and skins of a resource folder, read once
// from its Metadata.xml:
//
//   <ResourceLib>
//     <Base root="..\Main"/>
//     <Languages>
//       <Language name="en-us" title="English" locale="1033" default="1"/>
//     </Languages>
//     <Skins>
//       <Skin name="Dark" titleID="SkinDarkTitle" default="1"/>
//     </Skins>
//   </ResourceLib>
//
// A default is marked by default="1" (the last one marked wins). The text
// files "DefaultLanguageOverride" and "DefaultSkinOverride" beside
// Metadata.xml may name another default: their first 127 bytes, in the
// thread's ANSI code page, compared exactly (a line break spoils the match).
//
// Threads: immutable once built; any thread may read it.
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/IManager.h"
#include "resources/resourcelib/IMetadataProvider.h"

#include <boost/weak_ptr.hpp>

#include <string>
#include <vector>

namespace ResourceLib {

class XmlMetadataProvider : public IMetadataProvider {
public:
    // Reads everything. A missing or malformed Metadata.xml raises the XML
    // document's error; one without "ResourceLib/Languages" raises
    // std::runtime_error "Invalid 'Metadata.xml' content". A bad attribute of
    // one language or skin only takes its fallback (empty, 0, not default).
    // The skins fetch their titles through `manager`.
    XmlMetadataProvider(const wlitestring& rootFolder, const boost::weak_ptr<IManager>& manager);

    bool GetLanguages(std::vector<boost::shared_ptr<ILanguage>>& languages) override;
    boost::shared_ptr<ILanguage> FindLanguage(const wlitestring& name) override;
    boost::shared_ptr<ILanguage> GetDefaultLanguage() override;
    std::wstring GetRootPath() override;

    bool GetSkins(std::vector<boost::shared_ptr<ISkin>>& skins) override;
    boost::shared_ptr<ISkin> FindSkin(const wlitestring& name) override;
    boost::shared_ptr<ISkin> GetDefaultSkin() override;

private:
    void _Read();

    const std::wstring m_rootFolder;
    const boost::weak_ptr<IManager> m_manager;
    std::vector<boost::shared_ptr<ILanguage>> m_languages;
    int m_defaultLanguage = -1;
    std::vector<boost::shared_ptr<ISkin>> m_skins;
    int m_defaultSkin = -1;
    std::wstring m_baseRoot;
};

}  // namespace ResourceLib
