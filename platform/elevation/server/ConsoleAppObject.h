#pragma once
// ConsoleApp: runs one console application, hidden, as "path" parameters,
// with its standard input a pipe that SendValue14/15 write lines into and
// Signal16 closes. GetFlag says whether it runs, GetNumber gives its exit
// code once it ended.
// Thread: called on the server's main thread only (apartment-threaded).
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

    ~ConsoleAppObject() override;

private:
    HRESULT _WriteLine(long key, LONG value);
    void _CloseInput();

    std::wstring m_path;
    std::wstring m_parameters;
    HANDLE m_process = nullptr;
    HANDLE m_input = nullptr;  // the write end of the application's standard input
};

}  // namespace Vantrel
