#pragma once
// Zero-terminated and owned forms of a wide text reference.
#include "foundation/strings/LiteString.h"
#include "foundation/strings/StringConversions.h"

#include <string>

namespace STLHelpers {

// A zero-terminated view of `source` in `holder`: the reference's own pointer
// when it is zero-terminated (a null pointer becomes ""), otherwise a copy of
// exactly its characters. Returns the holder.
inline wlitestring::c_string_holder& ToOwnedWString(const wlitestring& source, wlitestring::c_string_holder& holder) {
    return holder.assign(source);
}
inline wlitestring::c_string_holder& MakeOwnedWString(wlitestring::c_string_holder& holder, const wlitestring& source) {
    return holder.assign(source);
}

// A copy of the referenced characters.
inline std::wstring WStringFromRef(const wlitestring& source) {
    return RefToWString(source);
}

// A zero-terminated text of a reference: the reference's own characters when
// it is known to end with a zero (a null pointer reads as ""), else a copy
// owned by the holder.
inline wlitestring::c_string_holder CStrFromRef(const wlitestring& source) {
    return wlitestring::c_string_holder(source);
}

// A copy of the referenced characters.
inline std::wstring StrRefToWString(const wlitestring& source) {
    return RefToWString(source);
}

// One owned string (a section name, a file path) made from a reference.
struct WStringHolder {
    explicit WStringHolder(const wlitestring& source) : value(WStringFromRef(source)) {}
    std::wstring value;
};

}  // namespace STLHelpers
