#include "RecordingService.h"

#include <utility>

namespace ServiceClientTests {
namespace {

using Object = RecordingService::Object;

void Record(RecordingService&, RecordedCall& call, BSTR text) {
    call.texts.push_back(text ? std::wstring(text, SysStringLen(text)) : L"<null>");
}
void Record(RecordingService&, RecordedCall& call, LONG number) {
    call.numbers.push_back(number);
}
// IDispatch's arguments are not recorded, only that the position was reached.
template <class T>
void Record(RecordingService&, RecordedCall&, T) {}

// One method of the table: records its position and arguments and answers.
template <int Position, class... Args>
HRESULT STDMETHODCALLTYPE Method(Object* self, Args... args) {
    RecordingService& service = *self->owner;
    RecordedCall call{Position, {}, {}};
    (Record(service, call, args), ...);
    service.calls.push_back(std::move(call));
    return service.answer;
}

// Position 13 also fills in its out-value: the scripted text on success.
HRESULT STDMETHODCALLTYPE ReadRegistryValueMethod(Object* self, BSTR key, BSTR name, BSTR* value) {
    const HRESULT hr = Method<13, BSTR, BSTR>(self, key, name);
    if (value)
        *value = SUCCEEDED(hr) ? SysAllocString(self->owner->registryValue.c_str()) : nullptr;
    return hr;
}

HRESULT STDMETHODCALLTYPE QueryInterfaceMethod(Object* self, REFIID iid, void** out) {
    self->owner->queried.push_back(iid);
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IGarbageCollector)) {
        ++self->references;
        *out = self;
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE AddRefMethod(Object* self) {
    return static_cast<ULONG>(++self->references);
}
ULONG STDMETHODCALLTYPE ReleaseMethod(Object* self) {
    return static_cast<ULONG>(--self->references);
}

template <class F>
void* Entry(F function) {
    return reinterpret_cast<void*>(function);
}

// Positions 0-2 IUnknown, 3-6 IDispatch, 7 the placeholder, 8-13 the service's methods.
void* const kMethodTable[] = {
    Entry(&QueryInterfaceMethod),
    Entry(&AddRefMethod),
    Entry(&ReleaseMethod),
    Entry(&Method<3, UINT*>),
    Entry(&Method<4, UINT, LCID, ITypeInfo**>),
    Entry(&Method<5, const IID*, LPOLESTR*, UINT, LCID, DISPID*>),
    Entry(&Method<6, DISPID, const IID*, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*>),
    Entry(&Method<7>),
    Entry(&Method<8, BSTR, BSTR, LONG>),
    Entry(&Method<9, BSTR, LONG>),
    Entry(&Method<10, BSTR>),
    Entry(&Method<11, BSTR>),
    Entry(&Method<12, BSTR, LONG>),
    Entry(&ReadRegistryValueMethod),
};

}  // namespace

class RecordingService::Factory : public IClassFactory {
public:
    explicit Factory(RecordingService& service) : m_service(service) {}
    virtual ~Factory() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID iid, void** out) override {
        *out = nullptr;
        ++m_service.activations;
        std::vector<HRESULT>& results = m_service.activationResults;
        if (!results.empty()) {
            const HRESULT hr = results.front();
            results.erase(results.begin());
            if (FAILED(hr))
                return hr;
        }
        return QueryInterfaceMethod(&m_service.m_object, iid, out);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

private:
    RecordingService& m_service;
};

RecordingService::RecordingService() : m_object{kMethodTable, this, 1}, m_factory(new Factory(*this)) {
    m_registration = CoRegisterClassObject(CLSID_GarbageCollector, m_factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &m_cookie);
}

RecordingService::~RecordingService() {
    if (m_cookie)
        CoRevokeClassObject(m_cookie);
    delete m_factory;
}

}  // namespace ServiceClientTests
