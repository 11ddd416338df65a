#include "foundation/errors/GuiHandlerGuard.h"

#include "foundation/errors/ErrorException.h"

#include <afxexcept.h>
#include <atlexcept.h>
#include <comdef.h>
#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace {

struct Classified {
    int code;
    std::wstring text;
};

Classified Classify(const std::function<void()>& body) {
    Classified result{0, L"<nothing thrown>"};
    try {
        body();
    } catch (...) {
        ErrorHandling::ClassifyGuiHandlerException(result.code, result.text);
    }
    return result;
}

// A heap MFC exception that tells when it is freed.
struct TrackedException : COleException {
    explicit TrackedException(bool* deleted) : COleException(E_FAIL), m_deleted(deleted) {}
    ~TrackedException() override { *m_deleted = true; }
    bool* m_deleted;
};

TEST(GuiHandlerGuard, CodeAndTextOfEachClause) {
    const std::wstring comMessage = _com_error(E_FAIL).ErrorMessage();
    struct Case {
        const char* name;
        std::function<void()> body;
        int code;
        std::wstring text;
    } cases[] = {
        {"exception_win", [] { throw ErrorHandling::exception_win("bad", 13); }, 13, L"ERRNO bad"},
        {"std::exception", [] { throw std::runtime_error("x \xC3\xA9"); }, -1, L"x \x00E9"},
        {"ErrorException", [] { throw ErrorHandling::ErrorException(); }, -1, L""},
        {"_com_error", [] { throw _com_error(E_FAIL); }, static_cast<int>(E_FAIL),
         L"Error HRESULT 80004005" + (comMessage.empty() ? L"" : L": " + comMessage)},
        {"CAtlException", [] { throw ATL::CAtlException(E_OUTOFMEMORY); }, static_cast<int>(E_OUTOFMEMORY),
         L"Error CAtlException 8007000e"},
        {"int", [] { throw 7; }, -1, L"Unclassified exception"},
        {"COleException", [] { AfxThrowOleException(E_ACCESSDENIED); }, -1, L"Unclassified exception"},
        {"CMemoryException", [] { AfxThrowMemoryException(); }, -1, L"Unclassified exception"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Classified result = Classify(c.body);
        EXPECT_EQ(c.code, result.code);
        EXPECT_EQ(c.text, result.text);
    }
}

TEST(GuiHandlerGuard, MfcExceptionsThrownByPointerAreFreed) {
    bool deleted = false;
    const Classified result = Classify([&] { throw static_cast<CException*>(new TrackedException(&deleted)); });
    EXPECT_EQ(L"Unclassified exception", result.text);
    EXPECT_TRUE(deleted);
}

TEST(GuiHandlerGuard, HandlerReturnsNormally) {
    int steps = 0;
    EXPECT_TRUE(ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("Test::Completes"), [&] { ++steps; }));
    EXPECT_FALSE(ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("Test::Throws"), [&] {
        ++steps;
        throw 1;
    }));
    EXPECT_FALSE(ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("Test::ThrowsMfc"),
                                              [] { AfxThrowOleException(E_FAIL); }));
    EXPECT_EQ(2, steps);
    EXPECT_STREQ("Test::Throws: failed with exception code %d: %ws\n", GUI_HANDLER_TRACE_FORMAT("Test::Throws"));
}

}  // namespace
