#include <comdef.h>

#include <gtest/gtest.h>

namespace {

TEST(ComSupport, IssueErrorThrowsComErrorWithTheCode) {
    try {
        _com_issue_errorex(E_ACCESSDENIED, nullptr, IID_IUnknown);
        FAIL() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_ACCESSDENIED);
    }
    try {
        _com_issue_error(E_POINTER);
        FAIL() << "no exception";
    } catch (const _com_error& error) {
        EXPECT_EQ(error.Error(), E_POINTER);
    }
}

TEST(ComSupport, NarrowAndWideTextConvert) {
    _bstr_t fromNarrow("narrow text");
    EXPECT_STREQ(static_cast<const wchar_t*>(fromNarrow), L"narrow text");
    _bstr_t fromWide(L"wide text");
    EXPECT_STREQ(static_cast<const char*>(fromWide), "wide text");
    _bstr_t empty(static_cast<const char*>(nullptr));
    EXPECT_EQ(empty.length(), 0u);
}

}  // namespace
