#pragma once
// A language the resource manager can switch to: its name is the folder of
// its texts, its locale the one the module strings are read in.
#include "foundation/core/InterfaceCore.h"

#include <windows.h>

#include <string>

namespace ResourceLib {

class ILanguage : public InterfaceCore::IInterfaceCore<ILanguage> {
public:
    virtual std::wstring GetName() = 0;
    virtual std::wstring GetTitle() = 0;
    // 0 when the language names no locale.
    virtual LCID GetLocale() = 0;
};

}  // namespace ResourceLib
