#pragma once
// Manager: IManager over one loaded layout document. Windows and complete
// pictures are read when it is made; other pictures at every lookup.
#include "foundation/filesystem/XmlFile.h"
#include "skin/layout/IManager.h"

#include <boost/shared_ptr.hpp>

#include <map>
#include <string>

namespace LayoutLib {

class Manager : public IManager {
public:
    // Throws as CreateManager does.
    explicit Manager(const std::wstring& source);
    Manager(const Manager&) = delete;
    Manager& operator=(const Manager&) = delete;

    bool GetWindows(WindowList& windows) const override;
    boost::shared_ptr<IWindow> GetWindow(const std::wstring& name) const override;
    boost::shared_ptr<IPicture> GetPicture(const std::wstring& name, const CustomValues& parameters) const override;
    std::wstring GetSource() const override { return m_source; }
    std::wstring GetBaseFolder() const override;
    void SetBaseFolder(const std::wstring& folder) override { m_baseFolder = folder; }

private:
    bool _ReadDocument();

    std::wstring m_source;
    FileSystem::XmlFile m_document;
    std::wstring m_baseFolder;
    WindowList m_windows;
    // The first "Picture" node of each name: pictures that are not complete
    // are read from it, found without building a query from the name.
    std::map<std::wstring, FileSystem::XmlNodePtr> m_pictureNodes;
    std::map<std::wstring, boost::shared_ptr<IPicture>> m_pictureCache;
};

}  // namespace LayoutLib
