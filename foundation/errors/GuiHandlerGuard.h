#pragma once
// The catch list every window-message and command handler wraps its body in:
// the four classified kinds, then everything else as "Unclassified exception".
// The code and text go to DebugTrace with the handler's own format; no
// exception leaves the handler.
//
//   void CMainFrame::OnClose() {
//       ErrorHandling::RunGuiHandler(GUI_HANDLER_TRACE_FORMAT("CMainFrame::OnClose"), [&] {
//           ...
//       });
//   }
#include <string>

// "Class::Method" -> "Class::Method: failed with exception code %d: %ws\n"
#define GUI_HANDLER_TRACE_FORMAT(classAndMethod) classAndMethod ": failed with exception code %d: %ws\n"

namespace ErrorHandling {

// The debug trace of GUI handler failures; it does nothing by design.
void DebugTrace(const char* format, ...);

// Call only inside a catch handler. Code and text of the exception being
// handled:
//   exception_win       its error number, "ERRNO " + what()
//   std::exception      -1, what()
//   _com_error          its HRESULT, "Error HRESULT " + hex [+ ": " + message]
//   ATL::CAtlException  its HRESULT, "Error CAtlException " + hex
//   anything else       -1, "Unclassified exception"
// MFC exceptions (CException*) count as anything else and are freed here.
// Never throws.
void ClassifyGuiHandlerException(int& code, std::wstring& text) noexcept;

// Runs a handler body; true when it completed, false when it threw (the
// failure has then been traced). Never throws.
template <class Body>
bool RunGuiHandler(const char* traceFormat, Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (...) {
        int code = -1;
        std::wstring text;
        ClassifyGuiHandlerException(code, text);
        DebugTrace(traceFormat, code, text.c_str());
        return false;
    }
}

}  // namespace ErrorHandling
