#include "skin/layout/Element.h"

#include "skin/layout/VisualInfoT.h"

#include <boost/make_shared.hpp>

namespace LayoutLib {

namespace {

// A visual of its own for a clone: the same type, values and references and
// a copy of every state, in order.
boost::shared_ptr<IVisualInfo> CopyVisual(const IVisualInfo& source) {
    const auto copy = boost::make_shared<VisualInfo>(source.GetType(), source.GetCustomValues(),
                                                     source.GetCustomReferences());
    VisualStateList states;
    source.GetStates(states);
    for (const auto& state : states) {
        if (state)
            copy->AddState(boost::make_shared<VisualState>(*state));
    }
    return copy;
}

}  // namespace

Element::Element(const std::wstring& name, int id, const std::wstring& type) : ObjectT(name, id, type) {}

boost::shared_ptr<IMutableElement> Element::Clone(int id, const std::wstring& name) const {
    const boost::shared_ptr<Element> clone(new Element(name, id, std::wstring()));
    clone->SetShape(GetShapeType(), GetShapeValues());
    clone->SetCustomValues(GetCustomValues());
    clone->SetAutomated(IsAutomated());
    clone->SetPosition(m_position);
    clone->SetAnchors(m_anchors);
    clone->SetWindowed(m_isWindowed);
    if (const boost::shared_ptr<IVisualInfo> visual = GetVisual())
        clone->SetVisual(CopyVisual(*visual));
    return clone;
}

boost::shared_ptr<IMutableElement> Element::GetMutable() {
    return shared_from_this();
}

void Element::ClearTriggers() {
    m_overTriggers.clear();
    m_downTriggers.clear();
}

bool IsEmptyPosition(const RECT& position) {
    // Widened: the difference of two far-apart coordinates overflows a LONG.
    return static_cast<long long>(position.right) - position.left < 1 ||
           static_cast<long long>(position.bottom) - position.top < 1;
}

}  // namespace LayoutLib
