#include "RecordingConsoleApp.h"

#include "appframework/serviceclient/ServiceComProxy.h"

namespace ServiceClientTests {
namespace {

using GenericServiceClient::ServiceComProxy;

// Runs `step` on the service COM thread and waits for it.
template <class Step>
void OnServiceThread(Step step) {
    auto task = ServiceComProxy::MakeTask(false, [step] {
        step();
        return true;
    });
    ServiceComProxy::Instance()._ExecuteOnWorkerThread(task);
}

}  // namespace

class RecordingConsoleApp::Factory : public IClassFactory {
public:
    explicit Factory(RecordingConsoleApp& application) : m_application(application) {}
    virtual ~Factory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        *out = nullptr;
        ++m_application.m_activations;
        if (FAILED(m_application.activationAnswer))
            return m_application.activationAnswer;
        return m_application.QueryInterface(iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    RecordingConsoleApp& m_application;
};

RecordingConsoleApp::RecordingConsoleApp() : m_factory(new Factory(*this)) {
    OnServiceThread([this] {
        m_registration = CoRegisterClassObject(CLSID_ConsoleApp, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE,
                                               &m_cookie);
    });
}

RecordingConsoleApp::~RecordingConsoleApp() {
    if (m_cookie)
        OnServiceThread([this] { CoRevokeClassObject(m_cookie); });
    delete m_factory;
}

HRESULT RecordingConsoleApp::QueryInterface(REFIID iid, void** out) {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IConsoleApp)) {
        *out = static_cast<IConsoleApp*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

ULONG RecordingConsoleApp::AddRef() {
    return static_cast<ULONG>(++m_references);
}

ULONG RecordingConsoleApp::Release() {
    if (releaseDelayMs)
        Sleep(releaseDelayMs);
    const LONG references = --m_references;
    if (references == 0)
        ++m_finalReleases;
    return static_cast<ULONG>(references);
}

HRESULT RecordingConsoleApp::GetFlag(VARIANT_BOOL* value) {
    const HRESULT hr = _Record(11);
    *value = SUCCEEDED(hr) ? flag : VARIANT_FALSE;
    return hr;
}

HRESULT RecordingConsoleApp::GetNumber(LONG* value) {
    const HRESULT hr = _Record(12);
    *value = SUCCEEDED(hr) ? number : 0;
    return hr;
}

HRESULT RecordingConsoleApp::_Record(int position, BSTR text, LONG value) {
    std::lock_guard<std::mutex> lock(m_lock);
    m_calls.push_back({position, text ? std::wstring(text, SysStringLen(text)) : std::wstring(), value,
                       GetCurrentThreadId()});
    const auto answer = answers.find(position);
    return answer == answers.end() ? S_OK : answer->second;
}

std::vector<ConsoleCall> RecordingConsoleApp::Calls() {
    std::lock_guard<std::mutex> lock(m_lock);
    return m_calls;
}

std::vector<int> RecordingConsoleApp::Positions() {
    std::vector<int> positions;
    for (const ConsoleCall& call : Calls())
        positions.push_back(call.position);
    return positions;
}

}  // namespace ServiceClientTests
