// Vantrel.exe: the elevation service's stand-in.
//   Vantrel.exe /Service     registers both classes and the type library; exit 0, or 1 on failure
//   Vantrel.exe /Unregister  removes that registration; exit 0, or 1 on failure
//   Vantrel.exe -Embedding   (COM starts it so) serves the classes until the last object is gone
// Any other command line ends with exit code 2.
#include "CallLog.h"
#include "ClassFactory.h"
#include "ConsoleAppObject.h"
#include "GarbageCollectorObject.h"
#include "ServerModule.h"

#include "platform/elevation/Vantrel.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

namespace Vantrel {

HRESULT LoadOwnTypeInfo(REFIID iid, ITypeInfo** typeInfo) {
    *typeInfo = nullptr;
    ITypeLib* library = nullptr;
    HRESULT hr = LoadTypeLibEx(GetModulePath().c_str(), REGKIND_NONE, &library);
    if (FAILED(hr))
        return hr;
    hr = library->GetTypeInfoOfGuid(iid, typeInfo);
    library->Release();
    return hr;
}

namespace {

enum class Request { Service, Unregister, Serve, Unknown };

bool IsSwitch(const wchar_t* argument, const wchar_t* name) {
    if (argument[0] != L'/' && argument[0] != L'-')
        return false;
    return CompareStringOrdinal(argument + 1, -1, name, -1, TRUE) == CSTR_EQUAL;
}

Request ReadRequest() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return Request::Unknown;
    Request request = Request::Unknown;
    if (count == 2) {
        if (IsSwitch(arguments[1], L"Service"))
            request = Request::Service;
        else if (IsSwitch(arguments[1], L"Unregister"))
            request = Request::Unregister;
        else if (IsSwitch(arguments[1], L"Embedding"))
            request = Request::Serve;
    }
    LocalFree(arguments);
    return request;
}

ClassFactory g_garbageCollectorFactory(&GarbageCollectorObject::CreateInstance);
ClassFactory g_consoleAppFactory(&ConsoleAppObject::CreateInstance);

int Run() {
    const Request request = ReadRequest();
    if (request == Request::Unknown)
        return 2;
    ServerModule& module = GetModule();
    module.AddClassObject(CLSID_GarbageCollector, &g_garbageCollectorFactory, L"Vantrel GarbageCollector");
    module.AddClassObject(CLSID_ConsoleApp, &g_consoleAppFactory, L"Vantrel ConsoleApp");
    if (request == Request::Service)
        return SUCCEEDED(module.RegisterServer(TRUE)) ? 0 : 1;
    if (request == Request::Unregister)
        return SUCCEEDED(module.UnregisterServer(TRUE)) ? 0 : 1;
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    const HRESULT hr = module.Serve();
    CoUninitialize();
    return SUCCEEDED(hr) ? 0 : 1;
}

}  // namespace
}  // namespace Vantrel

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return Vantrel::Run();
}
