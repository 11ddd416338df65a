#include "resources/resourcelib/XmlMetadataProvider.h"

#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/XmlFile.h"
#include "foundation/strings/NumberStrings.h"
#include "foundation/strings/StringConversions.h"
#include "resources/resourcelib/Language.h"
#include "resources/resourcelib/Skin.h"

#include <boost/make_shared.hpp>

#include <cstdio>
#include <exception>
#include <memory>
#include <share.h>
#include <stdexcept>

namespace ResourceLib {

namespace {

constexpr std::size_t kOverrideBytes = 127;

// One value of one element: a missing attribute or a bad number leaves the
// value as it was and the reading goes on.
template <class Step>
void IgnoringFailure(Step step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

bool IsDefaultMark(const std::wstring& text) {
    return STLHelpers::ToInt(text) == 1;
}

// The first 127 bytes of an override file up to its first zero byte, in the
// thread's ANSI code page; empty when there is no such file.
std::wstring ReadOverride(const FileSystem::Folder& root, const wchar_t* name) {
    const std::wstring path = root.GetFile(name).GetPath();
    std::unique_ptr<FILE, int (*)(FILE*)> file(::_wfsopen(path.c_str(), L"rt", _SH_DENYNO), &std::fclose);
    if (!file)
        return std::wstring();
    char buffer[kOverrideBytes + 1] = {};
    std::fread(buffer, 1, kOverrideBytes, file.get());
    std::wstring text;
    if (buffer[0] != '\0')
        STLHelpers::MultiByteToWString(buffer, -1, text, STLHelpers::CodePageInfo{CP_THREAD_ACP, 0});
    return text;
}

template <class Record>
boost::shared_ptr<Record> FindByName(const std::vector<boost::shared_ptr<Record>>& records, const wlitestring& name,
                                     int* index = nullptr) {
    for (std::size_t i = 0; i < records.size(); ++i) {
        if (records[i] && records[i]->GetName() == name) {
            if (index)
                *index = static_cast<int>(i);
            return records[i];
        }
    }
    return boost::shared_ptr<Record>();
}

template <class Record>
boost::shared_ptr<Record> EntryAt(const std::vector<boost::shared_ptr<Record>>& records, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= records.size())
        return boost::shared_ptr<Record>();
    return records[index];
}

template <class Record>
void ApplyOverride(const FileSystem::Folder& root, const wchar_t* fileName,
                   const std::vector<boost::shared_ptr<Record>>& records, int& defaultIndex) {
    const std::wstring name = ReadOverride(root, fileName);
    if (!name.empty())
        FindByName(records, name, &defaultIndex);
}

}  // namespace

XmlMetadataProvider::XmlMetadataProvider(const wlitestring& rootFolder, const boost::weak_ptr<IManager>& manager)
    : m_rootFolder(rootFolder.str()), m_manager(manager) {
    _Read();
}

void XmlMetadataProvider::_Read() {
    const FileSystem::Folder root(m_rootFolder);
    FileSystem::XmlFile document(root.GetFile(L"Metadata.xml").GetPath(), false);

    if (const auto base = document.SelectNode(L"ResourceLib/Base"))
        m_baseRoot = document.GetAttributeOr(base, L"root", L"");

    const auto languages = document.SelectNode(L"ResourceLib/Languages");
    if (!languages)
        throw std::runtime_error("Invalid 'Metadata.xml' content");
    FileSystem::XmlNodeList children;
    document.GetChildNodes(languages, children);
    for (const auto& child : children) {
        if (document.GetNodeName(child) != L"Language")
            continue;
        std::wstring name;
        std::wstring title;
        LCID locale = 0;
        bool isDefault = false;
        IgnoringFailure([&] { name = document.GetAttribute(child, L"name"); });
        IgnoringFailure([&] { title = document.GetAttribute(child, L"title"); });
        IgnoringFailure([&] { locale = static_cast<LCID>(STLHelpers::ToInt(document.GetAttribute(child, L"locale"))); });
        IgnoringFailure([&] { isDefault = IsDefaultMark(document.GetAttributeOr(child, L"default", L"0")); });
        IgnoringFailure([&] {
            m_languages.push_back(boost::make_shared<Language>(name, title, locale));
            if (isDefault)
                m_defaultLanguage = static_cast<int>(m_languages.size()) - 1;
        });
    }
    ApplyOverride(root, L"DefaultLanguageOverride", m_languages, m_defaultLanguage);

    const auto skins = document.SelectNode(L"ResourceLib/Skins");
    if (!skins)
        return;
    document.GetChildNodes(skins, children);
    for (const auto& child : children) {
        if (document.GetNodeName(child) != L"Skin")
            continue;
        std::wstring name;
        std::wstring titleId;
        bool isDefault = false;
        IgnoringFailure([&] { name = document.GetAttribute(child, L"name"); });
        IgnoringFailure([&] { titleId = document.GetAttribute(child, L"titleID"); });
        IgnoringFailure([&] { isDefault = IsDefaultMark(document.GetAttributeOr(child, L"default", L"0")); });
        IgnoringFailure([&] {
            m_skins.push_back(boost::make_shared<Skin>(name, titleId, m_manager));
            if (isDefault)
                m_defaultSkin = static_cast<int>(m_skins.size()) - 1;
        });
    }
    ApplyOverride(root, L"DefaultSkinOverride", m_skins, m_defaultSkin);
}

bool XmlMetadataProvider::GetLanguages(std::vector<boost::shared_ptr<ILanguage>>& languages) {
    languages = m_languages;
    return true;
}

boost::shared_ptr<ILanguage> XmlMetadataProvider::FindLanguage(const wlitestring& name) {
    return FindByName(m_languages, name);
}

boost::shared_ptr<ILanguage> XmlMetadataProvider::GetDefaultLanguage() {
    return EntryAt(m_languages, m_defaultLanguage);
}

std::wstring XmlMetadataProvider::GetRootPath() {
    return m_baseRoot;
}

bool XmlMetadataProvider::GetSkins(std::vector<boost::shared_ptr<ISkin>>& skins) {
    skins = m_skins;
    return true;
}

boost::shared_ptr<ISkin> XmlMetadataProvider::FindSkin(const wlitestring& name) {
    return FindByName(m_skins, name);
}

boost::shared_ptr<ISkin> XmlMetadataProvider::GetDefaultSkin() {
    return EntryAt(m_skins, m_defaultSkin);
}

}  // namespace ResourceLib
