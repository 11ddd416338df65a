#pragma once
// Element: one element of a layout window. Made inside a boost::shared_ptr
// (GetMutable needs it); holds no pointer back to its window.
#include "skin/layout/IElement.h"
#include "skin/layout/ObjectT.h"

#include <boost/enable_shared_from_this.hpp>
#include <boost/shared_ptr.hpp>

#include <windows.h>

#include <set>
#include <string>

namespace LayoutLib {

class Element : public ObjectT<IMutableElement>, public boost::enable_shared_from_this<Element> {
public:
    Element(const std::wstring& name, int id, const std::wstring& type);

    bool IsWindowed() const override { return m_isWindowed; }
    RECT GetPosition() const override { return m_position; }
    int GetAnchors() const override { return m_anchors; }
    bool IsOverTrigger(int id) const override { return m_overTriggers.count(id) != 0; }
    bool IsDownTrigger(int id) const override { return m_downTriggers.count(id) != 0; }
    boost::shared_ptr<IMutableElement> Clone(int id, const std::wstring& name) const override;
    boost::shared_ptr<IMutableElement> GetMutable() override;

    void SetPosition(const RECT& position) override { m_position = position; }
    void SetAnchors(int anchors) override { m_anchors = anchors; }
    void SetWindowed(bool isWindowed) override { m_isWindowed = isWindowed; }
    void AddOverTrigger(int id) override { m_overTriggers.insert(id); }
    void AddDownTrigger(int id) override { m_downTriggers.insert(id); }
    void ClearTriggers() override;

private:
    RECT m_position = {0, 0, 0, 0};
    int m_anchors = 0;
    bool m_isWindowed = false;
    std::set<int> m_overTriggers;
    std::set<int> m_downTriggers;
};

// A position is empty unless it is at least one pixel wide and high.
bool IsEmptyPosition(const RECT& position);

}  // namespace LayoutLib
