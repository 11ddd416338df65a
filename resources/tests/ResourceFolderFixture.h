#pragma once
// Resource folders for tests: Metadata.xml with its languages (and an
// optional base root) and Resources.xml files of strings, written into a
// temporary folder.
//
//   Testing::TempFolder root;
//   ResourceTesting::WriteMetadata(root, L"", {{L"en-us", L"English", 1033, true}});
//   ResourceTesting::WriteStrings(root, L"en-us", {{L"AlreadyRunningTitle", L"Running"}});
#include "foundation/strings/StringConversions.h"
#include "resources/appresources/ResourceIdTables.h"
#include "testing/TempFolder.h"

#include <windows.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace ResourceTesting {

struct LanguageSpec {
    std::wstring name;
    std::wstring title;
    LCID locale;
    bool isDefault;
};

typedef std::vector<std::pair<std::wstring, std::wstring>> StringList;

inline std::wstring XmlEscape(const std::wstring& text) {
    std::wstring escaped;
    for (wchar_t ch : text) {
        switch (ch) {
        case L'&': escaped += L"&amp;"; break;
        case L'<': escaped += L"&lt;"; break;
        case L'>': escaped += L"&gt;"; break;
        case L'"': escaped += L"&quot;"; break;
        default: escaped += ch;
        }
    }
    return escaped;
}

inline std::wstring JoinRelative(const std::wstring& folder, const std::wstring& name) {
    return folder.empty() ? name : folder + L"\\" + name;
}

// Metadata.xml in `folder` (relative to the temporary folder; "" for itself).
inline std::wstring WriteMetadata(const Testing::TempFolder& temp, const std::wstring& folder,
                                  const std::vector<LanguageSpec>& languages, const std::wstring& baseRoot = L"",
                                  const std::vector<std::wstring>& skins = {}) {
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ResourceLib>\n";
    if (!baseRoot.empty())
        xml += L"  <Base root=\"" + XmlEscape(baseRoot) + L"\"/>\n";
    xml += L"  <Languages>\n";
    for (const LanguageSpec& language : languages) {
        xml += L"    <Language name=\"" + XmlEscape(language.name) + L"\" title=\"" + XmlEscape(language.title) +
               L"\" locale=\"" + std::to_wstring(language.locale) + L"\" default=\"" +
               (language.isDefault ? L"1" : L"0") + L"\"/>\n";
    }
    xml += L"  </Languages>\n";
    if (!skins.empty()) {
        xml += L"  <Skins>\n";
        for (std::size_t i = 0; i < skins.size(); ++i) {
            xml += L"    <Skin name=\"" + XmlEscape(skins[i]) + L"\" titleID=\"" + XmlEscape(skins[i]) +
                   L"Title\" default=\"" + (i == 0 ? L"1" : L"0") + L"\"/>\n";
        }
        xml += L"  </Skins>\n";
    }
    xml += L"</ResourceLib>\n";
    return temp.WriteFile(JoinRelative(folder, L"Metadata.xml"), STLHelpers::WideToUtf8(xml));
}

// Resources.xml in `folder` holding the strings.
inline std::wstring WriteStrings(const Testing::TempFolder& temp, const std::wstring& folder,
                                 const StringList& strings) {
    std::wstring xml = L"<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<ResourceLib>\n  <Resources>\n";
    for (const auto& entry : strings) {
        xml += L"    <String name=\"" + XmlEscape(entry.first) + L"\" value=\"" + XmlEscape(entry.second) +
               L"\"/>\n";
    }
    xml += L"  </Resources>\n</ResourceLib>\n";
    return temp.WriteFile(JoinRelative(folder, L"Resources.xml"), STLHelpers::WideToUtf8(xml));
}

// Every string of the tables except the ids given, each valued "<prefix><name>".
inline StringList AllStringsExcept(const AppResources::ResourceIdTables& ids, const std::set<int>& missing,
                                   const std::wstring& prefix) {
    StringList strings;
    for (std::size_t i = 0; i < ids.stringCount; ++i) {
        if (missing.count(ids.strings[i].id) == 0)
            strings.emplace_back(ids.strings[i].name, prefix + ids.strings[i].name);
    }
    return strings;
}

}  // namespace ResourceTesting
