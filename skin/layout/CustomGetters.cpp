#include "skin/layout/CustomGetters.h"

namespace LayoutLib {

namespace {

template <class T>
T Get(const std::wstring& name, const CustomValues& first, const CustomValues& second, const T& defaultValue) {
    if (const T* value = _FindCustomValue<T>(first, name))
        return *value;
    if (const T* value = _FindCustomValue<T>(second, name))
        return *value;
    return defaultValue;
}

}  // namespace

int GetCustomInt(const std::wstring& name, const CustomValues& first, const CustomValues& second, int defaultValue) {
    return Get(name, first, second, defaultValue);
}

double GetCustomDouble(const std::wstring& name, const CustomValues& first, const CustomValues& second,
                       double defaultValue) {
    return Get(name, first, second, defaultValue);
}

std::wstring GetCustomString(const std::wstring& name, const CustomValues& first, const CustomValues& second,
                             const std::wstring& defaultValue) {
    return Get(name, first, second, defaultValue);
}

std::wstring GetCustomString(const std::wstring& name, const CustomValues& values, const std::wstring& defaultValue) {
    const std::wstring* value = _FindCustomString(values, name);
    return value ? *value : defaultValue;
}

bool GetCustomBool(const std::wstring& name, const CustomValues& first, const CustomValues& second,
                   bool defaultValue) {
    return Get(name, first, second, defaultValue);
}

}  // namespace LayoutLib
