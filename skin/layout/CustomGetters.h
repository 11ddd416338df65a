#pragma once
// Typed reads of custom values with a fallback: the caller's map first, then
// the object's own, then the default. A value of another type counts as
// missing (an int is not read as a double or a bool).
#include "skin/layout/CustomValues.h"

#include <string>

namespace LayoutLib {

int GetCustomInt(const std::wstring& name, const CustomValues& first, const CustomValues& second, int defaultValue);
double GetCustomDouble(const std::wstring& name, const CustomValues& first, const CustomValues& second,
                       double defaultValue);
std::wstring GetCustomString(const std::wstring& name, const CustomValues& first, const CustomValues& second,
                             const std::wstring& defaultValue);
std::wstring GetCustomString(const std::wstring& name, const CustomValues& values, const std::wstring& defaultValue);
bool GetCustomBool(const std::wstring& name, const CustomValues& first, const CustomValues& second,
                   bool defaultValue);

}  // namespace LayoutLib
