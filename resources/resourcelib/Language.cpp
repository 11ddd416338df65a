#include "resources/resourcelib/Language.h"

namespace ResourceLib {

Language::Language(const wlitestring& name, const std::wstring& title, LCID locale)
    : m_name(name.str()), m_title(title), m_locale(locale) {}

}  // namespace ResourceLib
