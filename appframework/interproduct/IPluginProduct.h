#pragma once
// PluginHostLib::IProduct: what the program can do with a companion product
// of the same maker, in the order of its slots.
#include "graphics/commongui/SharedGDIObject.h"

#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace PluginHostLib {

class IProduct {
public:
    virtual ~IProduct() = default;
    virtual void _Reserved1() {}
    // Its setup when there is one, else the Updater; true when it started.
    virtual bool Install(BOOL silent, BOOL allowUpdater) = 0;
    virtual bool CanInstall() = 0;
    virtual bool IsInstalled() = 0;
    virtual bool Uninstall(BOOL silent) = 0;
    // The product on the argument (a quoted file path, or empty).
    virtual bool Run(const wlitestring& argument) = 0;
    virtual bool IsRunning() = 0;
    virtual bool BringToFront() = 0;
    // Asks the product's windows to close; true when there were any.
    virtual bool EndRunning() = 0;
    virtual void _Reserved10() {}
    virtual void _Reserved11() {}
    virtual void _Reserved12() {}
    virtual std::wstring GetDownloadAddress() = 0;
    virtual std::wstring GetShortTitle() = 0;
    virtual std::wstring GetMediumTitle() = 0;
    virtual std::wstring GetProductKey() = 0;
    // The version text of the product's executable; "" when not installed.
    virtual std::wstring GetVersion() = 0;
    // The medium title, or the short one when there is none.
    virtual std::wstring GetComposedTitle() = 0;
    virtual std::wstring GetActionVerb() = 0;
    virtual std::wstring GetLongDescription() = 0;
    virtual std::wstring GetMainAddress() = 0;
    virtual std::wstring GetExecutableName() = 0;
    virtual CommonGuiLib::SharedIcon GetIcon(int width, int height) = 0;
    virtual std::wstring GetExtraText() = 0;
    virtual int GetExtraNumber() = 0;
};

}  // namespace PluginHostLib
