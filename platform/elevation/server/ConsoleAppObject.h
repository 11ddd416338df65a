#pragma once
// ConsoleApp: keeps the application's path and parameters it is given.
// Running the application is not served yet: those calls answer E_NOTIMPL.
#include "DispatchObject.h"

#include "platform/elevation/Vantrel.h"

#include <string>

namespace Vantrel {

class ConsoleAppObject : public DispatchObject<IConsoleApp> {
public:
    static HRESULT CreateInstance(REFIID iid, void** out) { return Create<ConsoleAppObject>(iid, out); }

    HRESULT STDMETHODCALLTYPE Reserved7() override;
    HRESULT STDMETHODCALLTYPE SetPath(BSTR path) override;
    HRESULT STDMETHODCALLTYPE Reserved9() override;
    HRESULT STDMETHODCALLTYPE SetParameters(BSTR parameters) override;
    HRESULT STDMETHODCALLTYPE GetFlag(VARIANT_BOOL* flag) override;
    HRESULT STDMETHODCALLTYPE GetNumber(LONG* number) override;
    HRESULT STDMETHODCALLTYPE Start() override;
    HRESULT STDMETHODCALLTYPE SendValue14(LONG value) override;
    HRESULT STDMETHODCALLTYPE SendValue15(LONG value) override;
    HRESULT STDMETHODCALLTYPE Signal16() override;

private:
    std::wstring m_path;
    std::wstring m_parameters;
};

}  // namespace Vantrel
