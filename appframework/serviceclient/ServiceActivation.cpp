#include "appframework/serviceclient/ServiceActivation.h"

#include <ole2.h>

namespace GenericServiceClient {

HRESULT ActivateServiceClass(REFCLSID clsid, REFIID iid, void** target) {
    if (!target)
        return E_POINTER;
    *target = nullptr;
    IUnknown* unknown = nullptr;
    HRESULT hr = CoCreateInstance(clsid, nullptr, kServiceClassContext, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr))
        return hr;
    hr = OleRun(unknown);
    if (SUCCEEDED(hr)) {
        hr = unknown->QueryInterface(iid, target);
        if (FAILED(hr))
            *target = nullptr;
    }
    unknown->Release();
    return hr;
}

}  // namespace GenericServiceClient
