#pragma once
// A GarbageCollector inside the test process: its class object is
// registered for this apartment only (CoRegisterClassObject, in-process), so
// the client's activation finds it before any registered server. The object
// answers through a raw method table, records the position and arguments of
// every call and answers with a scripted HRESULT. No server process is needed.
#include "platform/elevation/Vantrel.h"

#include <windows.h>

#include <string>
#include <vector>

namespace ServiceClientTests {

struct RecordedCall {
    int position;
    std::vector<std::wstring> texts;  // the BSTR arguments in order
    std::vector<LONG> numbers;        // the 32-bit arguments in order
};

class RecordingService {
public:
    // Needs COM entered on this thread, in the apartment the client will use.
    RecordingService();
    ~RecordingService();
    RecordingService(const RecordingService&) = delete;
    RecordingService& operator=(const RecordingService&) = delete;

    // What the class object answers, one activation after the other; S_OK
    // (the object) once the list is used up.
    std::vector<HRESULT> activationResults;
    // What every method answers; ReadRegistryValue gives `registryValue`
    // with any success code.
    HRESULT answer = S_OK;
    std::wstring registryValue = L"recorded value";

    // The class object's registration for this apartment.
    HRESULT Registration() const { return m_registration; }

    std::vector<RecordedCall> calls;
    std::vector<IID> queried;  // every interface asked of the object
    int activations = 0;
    // The object's references besides the one the service keeps.
    LONG OutstandingReferences() const { return m_object.references - 1; }

    struct Object {
        void* const* table;
        RecordingService* owner;
        LONG references;
    };

private:
    class Factory;

    Object m_object;
    Factory* m_factory;
    DWORD m_cookie = 0;
    HRESULT m_registration = E_FAIL;
};

}  // namespace ServiceClientTests
