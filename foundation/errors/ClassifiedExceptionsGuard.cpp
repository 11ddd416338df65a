#include "foundation/errors/ClassifiedExceptionsGuard.h"

#include "foundation/errors/FormatErrorCode.h"
#include "foundation/strings/StringConversions.h"

#include <atlexcept.h>
#include <comdef.h>

#include <exception>

namespace ErrorHandling {
namespace {

AnyError ErrorWithText(const std::wstring& text) {
    AnyError error(1);
    error << text;
    return error;
}

}  // namespace

std::wstring ComErrorText(HRESULT hr, const wchar_t* message) {
    std::wstring text = L"Error HRESULT " + ToLowerHex(static_cast<std::uint32_t>(hr));
    if (message && *message) {
        text += L": ";
        text += message;
    }
    return text;
}

std::wstring AtlExceptionText(HRESULT hr) {
    return L"Error CAtlException " + ToLowerHex(static_cast<std::uint32_t>(hr));
}

AnyError ClassifyCurrentException() {
    try {
        throw;
    } catch (const exception_win& e) {
        const char* what = e.what();
        return ErrorWithText(L"ERRNO " + STLHelpers::Utf8ToWide(what ? what : ""));
    } catch (const std::exception& e) {
        const char* what = e.what();
        return ErrorWithText(STLHelpers::Utf8ToWide(what ? what : ""));
    } catch (const _com_error& e) {
        return ErrorWithText(ComErrorText(e.Error(), e.ErrorMessage()));
    } catch (const ATL::CAtlException& e) {
        return ErrorWithText(AtlExceptionText(e.m_hr));
    }
}

}  // namespace ErrorHandling
