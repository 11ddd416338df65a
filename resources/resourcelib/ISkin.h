#pragma once
// A skin the resource manager can switch to: its name is the folder of its
// pictures, colours and fonts; its title is a text of the current language.
#include "foundation/core/InterfaceCore.h"

#include <string>

namespace ResourceLib {

class ISkin : public InterfaceCore::IInterfaceCore<ISkin> {
public:
    virtual std::wstring GetName() = 0;
    virtual std::wstring GetTitle() = 0;
};

}  // namespace ResourceLib
