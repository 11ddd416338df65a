#pragma once
// Language and skin providers for manager tests, over records made by the
// test, with a chosen default.
#include "resources/resourcelib/ILanguageProvider.h"
#include "resources/resourcelib/ISkinProvider.h"
#include "resources/resourcelib/Language.h"
#include "resources/resourcelib/Skin.h"

#include <boost/make_shared.hpp>

#include <vector>

namespace ResourceTesting {

class FakeLanguageProvider : public ResourceLib::ILanguageProvider {
public:
    // Adds a language; the first one added with isDefault is the default.
    boost::shared_ptr<ResourceLib::ILanguage> Add(const wchar_t* name, bool isDefault = false, LCID locale = 0) {
        const boost::shared_ptr<ResourceLib::ILanguage> language =
            boost::make_shared<ResourceLib::Language>(name, std::wstring(name) + L" title", locale);
        m_languages.push_back(language);
        if (isDefault && !m_default)
            m_default = language;
        return language;
    }

    bool GetLanguages(std::vector<boost::shared_ptr<ResourceLib::ILanguage>>& languages) override {
        languages = m_languages;
        return true;
    }
    boost::shared_ptr<ResourceLib::ILanguage> FindLanguage(const wlitestring& name) override {
        for (const auto& language : m_languages) {
            if (language->GetName() == name)
                return language;
        }
        return nullptr;
    }
    boost::shared_ptr<ResourceLib::ILanguage> GetDefaultLanguage() override { return m_default; }

private:
    std::vector<boost::shared_ptr<ResourceLib::ILanguage>> m_languages;
    boost::shared_ptr<ResourceLib::ILanguage> m_default;
};

class FakeSkinProvider : public ResourceLib::ISkinProvider {
public:
    boost::shared_ptr<ResourceLib::ISkin> Add(const wchar_t* name, bool isDefault = false) {
        const boost::shared_ptr<ResourceLib::ISkin> skin =
            boost::make_shared<ResourceLib::Skin>(name, std::wstring(name) + L"Title", boost::weak_ptr<ResourceLib::IManager>());
        m_skins.push_back(skin);
        if (isDefault && !m_default)
            m_default = skin;
        return skin;
    }

    bool GetSkins(std::vector<boost::shared_ptr<ResourceLib::ISkin>>& skins) override {
        skins = m_skins;
        return true;
    }
    boost::shared_ptr<ResourceLib::ISkin> FindSkin(const wlitestring& name) override {
        for (const auto& skin : m_skins) {
            if (skin->GetName() == name)
                return skin;
        }
        return nullptr;
    }
    boost::shared_ptr<ResourceLib::ISkin> GetDefaultSkin() override { return m_default; }

private:
    std::vector<boost::shared_ptr<ResourceLib::ISkin>> m_skins;
    boost::shared_ptr<ResourceLib::ISkin> m_default;
};

}  // namespace ResourceTesting
