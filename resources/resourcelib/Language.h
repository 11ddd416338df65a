#pragma once
// The immutable record of one language of a resource folder.
#include "foundation/strings/LiteString.h"
#include "resources/resourcelib/ILanguage.h"

namespace ResourceLib {

class Language : public ILanguage {
public:
    Language(const wlitestring& name, const std::wstring& title, LCID locale);

    std::wstring GetName() override { return m_name; }
    std::wstring GetTitle() override { return m_title; }
    LCID GetLocale() override { return m_locale; }

private:
    const std::wstring m_name;
    const std::wstring m_title;
    const LCID m_locale;
};

}  // namespace ResourceLib
