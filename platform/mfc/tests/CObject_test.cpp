#include "afxwin.h"

#include "MfcTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class CLabelLike : public CStatic {
    DECLARE_DYNCREATE(CLabelLike)
};

IMPLEMENT_DYNCREATE(CLabelLike, CStatic)

TEST(CObject, RunTimeClassesKnowTheirBases) {
    CLabelLike label;
    CButton button;
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CLabelLike)));
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CStatic)));
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(label.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(button.IsKindOf(RUNTIME_CLASS(CStatic)));
    EXPECT_STREQ(label.GetRuntimeClass()->m_lpszClassName, "CLabelLike");

    CWnd* asWindow = &label;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CLabelLike, asWindow), &label);
    CWnd* other = &button;
    EXPECT_EQ(DYNAMIC_DOWNCAST(CLabelLike, other), nullptr);
}

TEST(CObject, DynamicCreationMakesTheNamedClass) {
    std::unique_ptr<CObject> made(RUNTIME_CLASS(CLabelLike)->CreateObject());
    ASSERT_NE(made, nullptr);
    EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CLabelLike)));
    EXPECT_EQ(RUNTIME_CLASS(CStatic)->CreateObject(), nullptr);  // no dynamic creation
}

}  // namespace
