#pragma once
// VisualInfoT and VisualStateT: the visual of a window or element and its
// named states. Filled by the layout reader, then only read.
#include "skin/layout/IVisualInfo.h"

#include <boost/shared_ptr.hpp>

#include <string>

namespace LayoutLib {

template <class I>
class VisualStateT : public I {
public:
    VisualStateT(const std::wstring& name, const std::wstring& picture, int cursor, const CustomValues& customValues,
                 const CustomReferences& references)
        : m_customValues(customValues), m_name(name), m_picture(picture), m_cursor(cursor),
          m_customReferences(references) {}
    // Member by member, from any state (a clone's deep copy).
    explicit VisualStateT(const IVisualState& other)
        : VisualStateT(other.GetName(), other.GetPicture(), other.GetCursor(), other.GetCustomValues(),
                       other.GetCustomReferences()) {}
    VisualStateT(const VisualStateT& other) = default;

    const CustomValues& GetCustomValues() const override { return m_customValues; }
    const CustomReferences& GetCustomReferences() const override { return m_customReferences; }
    std::wstring GetName() const override { return m_name; }
    std::wstring GetPicture() const override { return m_picture; }
    int GetCursor() const override { return m_cursor; }

private:
    CustomValues m_customValues;
    std::wstring m_name;
    std::wstring m_picture;
    int m_cursor;
    CustomReferences m_customReferences;
};

template <class I>
class VisualInfoT : public I {
public:
    VisualInfoT(const std::wstring& type, const CustomValues& customValues, const CustomReferences& references)
        : m_customValues(customValues), m_type(type), m_customReferences(references) {}

    const CustomValues& GetCustomValues() const override { return m_customValues; }
    const CustomReferences& GetCustomReferences() const override { return m_customReferences; }
    std::wstring GetType() const override { return m_type; }
    bool GetStates(VisualStateList& states) const override {
        states = m_states;
        return true;
    }
    boost::shared_ptr<IVisualState> FindState(const std::wstring& name) const override {
        if (!name.empty()) {
            for (const auto& state : m_states) {
                if (state->GetName() == name)
                    return state;
            }
        }
        return boost::shared_ptr<IVisualState>();
    }

    // Appends the state unless one of its name is there: the first stays.
    // False when it was left out.
    bool AddState(const boost::shared_ptr<IVisualState>& state) {
        if (!state || FindState(state->GetName()))
            return false;
        m_states.push_back(state);
        return true;
    }

private:
    CustomValues m_customValues;
    std::wstring m_type;
    VisualStateList m_states;
    CustomReferences m_customReferences;
};

typedef VisualStateT<IVisualState> VisualState;
typedef VisualInfoT<IVisualInfo> VisualInfo;

}  // namespace LayoutLib
