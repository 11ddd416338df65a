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

}  // namespace
