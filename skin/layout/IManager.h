#pragma once
// IManager: the windows and pictures of one layout XML document of the
// current skin, handed out by name. Made once by the main frame
// (CreateManager) and shared with every skinned dialog.
//
//   boost::shared_ptr<LayoutLib::IManager> layout = LayoutLib::CreateManager(layoutXmlPath);
//   boost::shared_ptr<LayoutLib::IWindow> window = layout->GetWindow(L"stolenVideoDialog");
//   boost::shared_ptr<LayoutLib::IPicture> picture = layout->GetPicture(L"progress", parameters);
//
// Threads: used on the GUI thread that made it; no lock.
#include "foundation/core/InterfaceCore.h"
#include "skin/layout/CustomValues.h"
#include "skin/layout/IPicture.h"
#include "skin/layout/IWindow.h"

#include <boost/shared_ptr.hpp>

#include <string>
#include <vector>

namespace LayoutLib {

typedef std::vector<boost::shared_ptr<IWindow>> WindowList;

class IManager {
public:
    virtual ~IManager() = default;
    virtual void _ReservedManager() {}

    // Copies the windows, in document order, into `windows`; true.
    virtual bool GetWindows(WindowList& windows) const { InterfaceCore::ThrowPureVirtualCall(); }
    // The first window of that exact name; empty when none.
    virtual boost::shared_ptr<IWindow> GetWindow(const std::wstring& name) const {
        InterfaceCore::ThrowPureVirtualCall();
    }
    // A picture marked complete comes from the cache and ignores the
    // parameters; any other is read anew at every call, its "[key]"
    // attributes taking the string parameters. Empty when none.
    virtual boost::shared_ptr<IPicture> GetPicture(const std::wstring& name, const CustomValues& parameters) const {
        InterfaceCore::ThrowPureVirtualCall();
    }
    // The XML text or file path the manager was made from.
    virtual std::wstring GetSource() const { InterfaceCore::ThrowPureVirtualCall(); }
    // The folder the skin's relative paths start from: the one set, else
    // the source file's folder; empty for a manager made from XML text.
    virtual std::wstring GetBaseFolder() const { InterfaceCore::ThrowPureVirtualCall(); }
    // An empty folder returns to the rule above.
    virtual void SetBaseFolder(const std::wstring& folder) { InterfaceCore::ThrowPureVirtualCall(); }
};

// A manager loaded from `source`: XML text when it starts with "<?xml" at
// its very first character, else a file path. Throws std::runtime_error
// "Failed to load the layout XML" for text that is not well-formed, the XML
// layer's "Failed to open or parse the designated XML file" for a file it
// cannot read, and the XML layer's boost::system::system_error for a
// missing mandatory attribute; nothing is returned then.
boost::shared_ptr<IManager> CreateManager(const std::wstring& source);

}  // namespace LayoutLib
