#include "foundation/errors/GuiHandlerGuard.h"

#include "foundation/errors/ClassifiedExceptionsGuard.h"
#include "foundation/strings/StringConversions.h"

#include <afxexcept.h>
#include <atlexcept.h>
#include <comdef.h>

#include <exception>

namespace ErrorHandling {

void DebugTrace(const char*, ...) {}

void ClassifyGuiHandlerException(int& code, std::wstring& text) noexcept {
    code = -1;
    try {
        try {
            throw;
        } catch (const exception_win& e) {
            code = e.error();
            text = L"ERRNO " + STLHelpers::Utf8ToWide(e.what());
        } catch (const std::exception& e) {
            code = -1;
            const char* what = e.what();
            text = STLHelpers::Utf8ToWide(what ? what : "");
        } catch (const _com_error& e) {
            code = e.Error();
            text = ComErrorText(e.Error(), e.ErrorMessage());
        } catch (const ATL::CAtlException& e) {
            code = e.m_hr;
            text = AtlExceptionText(e.m_hr);
        } catch (CException* e) {
            // Thrown by pointer: nobody else would free it.
            if (e)
                e->Delete();
            code = -1;
            text = L"Unclassified exception";
        } catch (...) {
            code = -1;
            text = L"Unclassified exception";
        }
    } catch (...) {
        // Building the text failed (out of memory): the code alone is traced.
        text.clear();
    }
}

}  // namespace ErrorHandling
