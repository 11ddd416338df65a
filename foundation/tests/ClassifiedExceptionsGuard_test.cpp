#include "foundation/errors/ClassifiedExceptionsGuard.h"

#include <afxexcept.h>
#include <atlexcept.h>
#include <comdef.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

using ErrorHandling::AnyError;
using ErrorHandling::ClassifiedExceptionsGuard;

std::string ComErrorExpectation(HRESULT hr, const char* hex) {
    const _com_error error(hr);
    const std::wstring message = error.ErrorMessage() ? error.ErrorMessage() : L"";
    return std::string("Error HRESULT ") + hex + (message.empty() ? "" : ": " + STLHelpers::WideToUtf8(message));
}

TEST(ClassifiedExceptionsGuard, TurnsTheFourKindsIntoAnyError) {
    struct Case {
        const char* name;
        std::function<void()> step;
        bool isError;
        std::string text;
    } cases[] = {
        {"returns", [] {}, false, ""},
        {"runtime_error", [] { throw std::runtime_error("x"); }, true, "x"},
        {"ErrorException", [] { throw ErrorHandling::ErrorException() << L"Code 5 \x00E9"; }, true, "Code 5 \xC3\xA9"},
        {"exception_win", [] { throw ErrorHandling::exception_win("no such file", 2); }, true, "ERRNO no such file"},
        {"_com_error", [] { throw _com_error(E_FAIL); }, true, ComErrorExpectation(E_FAIL, "80004005")},
        {"CAtlException", [] { throw ATL::CAtlException(E_FAIL); }, true, "Error CAtlException 80004005"},
        {"CAtlException small", [] { ATL::AtlThrow(0x1234); }, true, "Error CAtlException 1234"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const AnyError result = ClassifiedExceptionsGuard(c.step);
        EXPECT_EQ(c.isError, static_cast<bool>(result));
        EXPECT_EQ(!c.isError, !result);
        EXPECT_EQ(c.text, result.what());
    }
}

TEST(ClassifiedExceptionsGuard, OtherExceptionsPassThrough) {
    EXPECT_THROW(ClassifiedExceptionsGuard([] { throw 42; }), int);

    COleException* thrown = nullptr;
    try {
        ClassifiedExceptionsGuard([] { AfxThrowOleException(E_ACCESSDENIED); });
        ADD_FAILURE() << "no exception";
    } catch (COleException* e) {
        thrown = e;
        EXPECT_EQ(E_ACCESSDENIED, e->m_sc);
        e->Delete();
    }
    EXPECT_NE(nullptr, thrown);
}

TEST(ClassifiedExceptionsGuard, ComErrorMessageIsAppendedOnlyWhenPresent) {
    EXPECT_EQ(L"Error HRESULT 80004005", ErrorHandling::ComErrorText(E_FAIL, L""));
    EXPECT_EQ(L"Error HRESULT 80004005", ErrorHandling::ComErrorText(E_FAIL, nullptr));
    EXPECT_EQ(L"Error HRESULT 8007000e: Out of memory", ErrorHandling::ComErrorText(E_OUTOFMEMORY, L"Out of memory"));
    EXPECT_EQ(L"Error HRESULT 1", ErrorHandling::ComErrorText(S_FALSE, L""));
}

}  // namespace
