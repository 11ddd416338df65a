#include "foundation/errors/ErrorCode.h"
#include "foundation/errors/ErrorResult.h"
#include "foundation/errors/FormatErrorCode.h"

#include <boost/shared_ptr.hpp>
#include <gtest/gtest.h>

#include <string>

namespace {

using ErrorHandling::ErrorCode;

// The system's own text for a code, as FormatErrorCode should append it.
std::wstring SystemText(DWORD id) {
    wchar_t* message = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, id, 0x400, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring text = message ? std::wstring(message, length) : std::wstring();
    LocalFree(message);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r'))
        text.pop_back();
    return text;
}

TEST(ErrorCode, FromWin32Result) {
    struct Case {
        BOOL result;
        DWORD lastError;
        HRESULT expected;
    } cases[] = {
        {TRUE, 5, S_OK},
        {FALSE, 0, S_OK},
        {FALSE, ERROR_ACCESS_DENIED, static_cast<HRESULT>(0x80070005)},
        {FALSE, ERROR_FILE_NOT_FOUND, static_cast<HRESULT>(0x80070002)},
        {FALSE, 0x12345, static_cast<HRESULT>(0x80072345)},
        {FALSE, 0x80004005, static_cast<HRESULT>(0x80004005)},  // already an HRESULT
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "result " << c.result << ", last error " << c.lastError);
        SetLastError(c.lastError);
        EXPECT_EQ(c.expected, ErrorCode::FromWin32Result(c.result).Value());
    }
}

TEST(ErrorCode, FromAFailedCall) {
    const BOOL deleted = DeleteFileW(L"C:\\brunlow-no-such-folder\\no-such-file.txt");
    const ErrorCode code = ErrorCode::FromWin32Result(deleted);
    EXPECT_TRUE(code.IsFailure());
    EXPECT_EQ(0x8007u, static_cast<DWORD>(code.Value()) >> 16);
}

TEST(MakeErrorResult, ConvertsAFailureToTheResultType) {
    const ErrorCode failure = E_OUTOFMEMORY;

    bool flag = true;
    ErrorHandling::MakeErrorResult(failure, flag);
    EXPECT_FALSE(flag);

    int value = 0;
    int* pointer = &value;
    ErrorHandling::MakeErrorResult(failure, pointer);
    EXPECT_EQ(nullptr, pointer);

    boost::shared_ptr<int> shared(new int(1));
    ErrorHandling::MakeErrorResult(failure, shared);
    EXPECT_FALSE(shared);

    BOOL win32Result = TRUE;
    ErrorHandling::MakeErrorResult(failure, win32Result);
    EXPECT_EQ(FALSE, win32Result);

    HRESULT hr = S_OK;
    ErrorHandling::MakeErrorResult(failure, hr);
    EXPECT_EQ(E_OUTOFMEMORY, hr);

    ErrorCode code;
    ErrorHandling::MakeErrorResult(failure, code);
    EXPECT_EQ(E_OUTOFMEMORY, code.Value());
}

TEST(MakeErrorResult, RefusesASuccessCode) {
    for (HRESULT success : {S_OK, S_FALSE}) {
        SCOPED_TRACE(success);
        bool flag = true;
        try {
            ErrorHandling::MakeErrorResult(success, flag);
            ADD_FAILURE() << "no exception";
        } catch (const std::bad_cast& e) {
            EXPECT_STREQ("ErrorCode to non-empty object or pointer", e.what());
        }
        EXPECT_TRUE(flag);
    }
}

TEST(FormatErrorCode, DescribesTheCodeWithTheSystemText) {
    struct Case {
        HRESULT code;
        const wchar_t* number;
        DWORD messageId;
    } cases[] = {
        {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), L"2", ERROR_FILE_NOT_FOUND},
        {HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), L"5", ERROR_ACCESS_DENIED},
        {E_FAIL, L"0x80004005", 0x80004005},
        {static_cast<HRESULT>(0x8000FFFF), L"0x8000ffff", 0x8000FFFF},
        {S_OK, L"0", 0},
        {S_FALSE, L"1", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "code " << std::hex << c.code);
        std::wstring text = L"prefix ";
        ErrorHandling::FormatErrorCode(c.code, text);
        EXPECT_EQ(std::wstring(L"prefix Code ") + c.number + L": " + SystemText(c.messageId), text);
    }
}

TEST(FormatErrorCode, SystemTextLosesItsLineEndsAndAnUnknownCodeAddsNothing) {
    std::wstring text;
    ErrorHandling::AppendSystemMessage(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) & 0xFFFF, text);
    ASSERT_FALSE(text.empty());
    EXPECT_NE(L'\n', text.back());
    EXPECT_NE(L'\r', text.back());

    std::wstring unknown = L"x";
    ErrorHandling::AppendSystemMessage(static_cast<HRESULT>(0x8123ABCD), unknown);
    EXPECT_EQ(L"x", unknown);
}

TEST(FormatErrorCode, MessagesWithInsertsKeepThemAsWritten) {
    // Some system texts hold inserts ("Insert disk for drive %1."); which codes
    // they are differs between systems.
    DWORD id = 1;
    while (id < 16000 && SystemText(id).find(L'%') == std::wstring::npos)
        ++id;
    if (id == 16000)
        GTEST_SKIP() << "no system text with an insert";
    SCOPED_TRACE(id);
    std::wstring text;
    ErrorHandling::FormatErrorCode(HRESULT_FROM_WIN32(id), text);
    EXPECT_EQ(L"Code " + std::to_wstring(id) + L": " + SystemText(id), text);
}

TEST(FormatErrorCode, LowerHex) {
    EXPECT_EQ(L"0", ErrorHandling::ToLowerHex(0));
    EXPECT_EQ(L"80004005", ErrorHandling::ToLowerHex(0x80004005));
    EXPECT_EQ(L"abcdef", ErrorHandling::ToLowerHex(0xABCDEF));
}

}  // namespace
