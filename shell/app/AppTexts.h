#pragma once
// The program's language strings as windows label themselves with them:
// plain, or with the product's placeholders ("{ProductName}", ...) expanded.
//
//   SetWindowText(AppTexts::Text(AppResources::StringID_OK).c_str());
//
// Thread: any; the resource manager and the product information lock or
// are read-only.
#include <string>

namespace AppTexts {

// The current language's text of a registered string id; empty on a miss.
std::wstring Text(int stringId);
// The same, expanded through the product information (as it stands when
// there is none).
std::wstring ExpandedText(int stringId);

}  // namespace AppTexts
