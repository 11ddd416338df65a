#pragma once
// Free-form named values and the typed lookups on them. The file stream takes
// its options in this map; the skin's layout objects carry theirs in it too
// ("Custom", "Settings", shape values, picture parameters) under the layout
// library's own names (skin/layout/CustomValues.h).
//
//   STLHelpers::CustomValues values;
//   STLHelpers::SetCustomValue(values, L"deleteOnClose", true);
//   if (const bool* pDelete = STLHelpers::_FindCustomBool(values, L"deleteOnClose")) ...
#include <boost/variant.hpp>

#include <map>
#include <string>

namespace STLHelpers {

// A text, an integer, a double or a bool.
typedef boost::variant<int, double, std::wstring, bool> CustomValue;

struct CustomValueEntry {
    CustomValue value;
    // Set: lookups answer as if the name were absent. Every store clears it.
    bool hidden = false;
};

// Ordered by name, exact and case-sensitive.
typedef std::map<std::wstring, CustomValueEntry> CustomValues;

// Stores or replaces the value under `name` and shows the entry again.
inline void SetCustomValue(CustomValues& values, const std::wstring& name, const CustomValue& value) {
    CustomValueEntry& entry = values[name];
    entry.value = value;
    entry.hidden = false;
}
// A character pointer would be stored as a bool: name the std::wstring.
void SetCustomValue(CustomValues& values, const std::wstring& name, const wchar_t* value) = delete;

// The value of type T held under `name`; null when the name is absent or
// hidden, or when its value holds another type (an int is no bool). The
// pointer lives as long as the entry.
template <class T>
const T* _FindCustomValue(const CustomValues& values, const std::wstring& name) {
    const auto found = values.find(name);
    if (found == values.end() || found->second.hidden)
        return nullptr;
    return boost::get<T>(&found->second.value);
}

inline const bool* _FindCustomBool(const CustomValues& values, const std::wstring& name) {
    return _FindCustomValue<bool>(values, name);
}
inline const int* _FindCustomInt(const CustomValues& values, const std::wstring& name) {
    return _FindCustomValue<int>(values, name);
}
inline const std::wstring* _FindCustomString(const CustomValues& values, const std::wstring& name) {
    return _FindCustomValue<std::wstring>(values, name);
}

}  // namespace STLHelpers
