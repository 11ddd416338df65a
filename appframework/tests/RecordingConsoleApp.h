#pragma once
// A ConsoleApp inside the test process, registered in the service COM
// thread's own apartment (the registration is made by a task on that
// thread), so the client's activation finds it before any registered
// server. It records every call with the thread it came on, answers with
// scripted HRESULTs and can be slow to release.
#include "platform/elevation/Vantrel.h"

#include <windows.h>

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace ServiceClientTests {

struct ConsoleCall {
    int position;       // in IConsoleApp's method table
    std::wstring text;  // the BSTR argument, if any
    LONG number;        // the 32-bit argument, if any
    DWORD threadId;
};

class RecordingConsoleApp : public IConsoleApp {
public:
    // Registers the class object on the service COM thread.
    RecordingConsoleApp();
    // Revokes it there; the object must have no references left by then.
    ~RecordingConsoleApp();
    RecordingConsoleApp(const RecordingConsoleApp&) = delete;
    RecordingConsoleApp& operator=(const RecordingConsoleApp&) = delete;

    HRESULT Registration() const { return m_registration; }

    // Scripted answers by position (S_OK when not listed).
    std::map<int, HRESULT> answers;
    HRESULT activationAnswer = S_OK;
    LONG number = 12;
    VARIANT_BOOL flag = VARIANT_TRUE;
    DWORD releaseDelayMs = 0;

    std::vector<ConsoleCall> Calls();
    std::vector<int> Positions();
    // References the client holds (0 after a clean release; below 0 after
    // one release too many) and how many releases brought it back to 0.
    LONG OutstandingReferences() const { return m_references.load(); }
    int FinalReleases() const { return m_finalReleases.load(); }
    int Activations() const { return m_activations.load(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Reserved7() override { return _Record(7); }
    HRESULT STDMETHODCALLTYPE SetPath(BSTR path) override { return _Record(8, path); }
    HRESULT STDMETHODCALLTYPE Reserved9() override { return _Record(9); }
    HRESULT STDMETHODCALLTYPE SetParameters(BSTR parameters) override { return _Record(10, parameters); }
    HRESULT STDMETHODCALLTYPE GetFlag(VARIANT_BOOL* value) override;
    HRESULT STDMETHODCALLTYPE GetNumber(LONG* value) override;
    HRESULT STDMETHODCALLTYPE Start() override { return _Record(13); }
    HRESULT STDMETHODCALLTYPE SendValue14(LONG value) override { return _Record(14, nullptr, value); }
    HRESULT STDMETHODCALLTYPE SendValue15(LONG value) override { return _Record(15, nullptr, value); }
    HRESULT STDMETHODCALLTYPE Signal16() override { return _Record(16); }

private:
    class Factory;

    HRESULT _Record(int position, BSTR text = nullptr, LONG value = 0);

    std::mutex m_lock;
    std::vector<ConsoleCall> m_calls;
    std::atomic<LONG> m_references{0};
    std::atomic<int> m_finalReleases{0};
    std::atomic<int> m_activations{0};
    Factory* m_factory;
    DWORD m_cookie = 0;
    HRESULT m_registration = E_FAIL;
};

}  // namespace ServiceClientTests
