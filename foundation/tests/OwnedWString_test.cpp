#include "foundation/strings/OwnedWString.h"

#include <gtest/gtest.h>

namespace {

TEST(OwnedWString, ZeroTerminatedViewOfAReference) {
    const wchar_t* path = L"C:\\dir\\file.txt";
    wlitestring::c_string_holder holder;
    EXPECT_EQ(&holder, &STLHelpers::ToOwnedWString(path, holder));
    EXPECT_EQ(path, holder.c_str());
    EXPECT_TRUE(holder.owned().empty());

    // Cut off before the file name: copied, terminated at the cut.
    EXPECT_EQ(&holder, &STLHelpers::MakeOwnedWString(holder, wlitestring(path, 6)));
    EXPECT_STREQ(L"C:\\dir", holder.c_str());
    EXPECT_EQ(L"C:\\dir", holder.owned());

    STLHelpers::ToOwnedWString(static_cast<const wchar_t*>(nullptr), holder);
    EXPECT_STREQ(L"", holder.c_str());
}

TEST(OwnedWString, HolderCopiesTheReference) {
    const wchar_t text[] = L"Section-rest";
    const STLHelpers::WStringHolder holder(wlitestring(text, 7));
    EXPECT_EQ(L"Section", holder.value);
    EXPECT_EQ(L"Sec", STLHelpers::WStringFromRef(wlitestring(text, 3)));
}

TEST(OwnedWString, CStrFromRefUsesTerminatedTextInPlaceAndCopiesTheRest) {
    const wchar_t text[] = L"iPad HD";
    struct Case {
        const char* name;
        wlitestring source;
        const wchar_t* expected;
        bool inPlace;
    } cases[] = {
        {"terminated", wlitestring(text), L"iPad HD", true},
        {"told terminated", wlitestring(text, 7, true), L"iPad HD", true},
        {"cut", wlitestring(text, 4), L"iPad", false},
        {"null", wlitestring(static_cast<const wchar_t*>(nullptr)), L"", false},
        {"null with length", wlitestring(nullptr, 5), L"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const wlitestring::c_string_holder holder = STLHelpers::CStrFromRef(c.source);
        EXPECT_STREQ(c.expected, holder.c_str());
        EXPECT_EQ(c.inPlace, holder.c_str() == text);
        EXPECT_EQ(std::wstring(c.expected), STLHelpers::StrRefToWString(c.source));
    }
}

}  // namespace
