#pragma once
// ObjectT: the part of IObject and IMutableObject that windows and elements
// share. Filled once by the layout reader, then only read; no lock.
#include "skin/layout/CustomValues.h"
#include "skin/layout/IObject.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace LayoutLib {

// I: IMutableWindow or IMutableElement.
template <class I>
class ObjectT : public I {
public:
    ObjectT(const std::wstring& name, int id, const std::wstring& type) : m_name(name), m_type(type), m_id(id) {}

    const CustomValues& GetCustomValues() const override { return m_customValues; }
    const CustomReferences& GetCustomReferences() const override { return m_customReferences; }
    std::wstring GetName() const override { return m_name; }

    int GetId() const override { return m_id; }
    std::wstring GetType() const override { return m_type; }
    bool IsAutomated() const override { return m_isAutomated; }
    int GetShapeType() const override { return m_shapeType; }
    const CustomValues& GetShapeValues() const override { return m_shapeValues; }
    boost::shared_ptr<IVisualInfo> GetVisual() const override { return m_visual; }
    const CustomValues& GetSettings() const override { return m_settings; }

    void SetShape(int type, const CustomValues& values) override {
        m_shapeType = type;
        if (&values != &m_shapeValues)
            m_shapeValues = values;
    }
    void SetCustomValues(const CustomValues& values) override { m_customValues = values; }
    void SetAutomated(bool isAutomated) override { m_isAutomated = isAutomated; }

    // What the reader fills beside the interfaces.
    void SetVisual(const boost::shared_ptr<IVisualInfo>& visual) { m_visual = visual; }
    void SetSettings(const CustomValues& settings) { m_settings = settings; }
    void SetCustomReferences(const CustomReferences& references) { m_customReferences = references; }

private:
    std::wstring m_name;
    std::wstring m_type;
    int m_id;
    int m_shapeType = ShapeCustom;
    bool m_isAutomated = false;
    CustomValues m_shapeValues;
    CustomValues m_customValues;
    CustomValues m_settings;
    boost::shared_ptr<IVisualInfo> m_visual;
    CustomReferences m_customReferences;
};

}  // namespace LayoutLib
