#pragma once
// MainScopeInstanceCounter: counts the application scopes alive in the
// process on the shared value "mainScopeInstanceCount", which every module
// of the process sees. More than one at a time means start-up ran twice;
// both the second arrival and a departure that leaves others behind are
// reported as warnings.
//
// Thread: any; the count changes only by interlocked calls.
#include "foundation/system/EnvironmentValue.h"

namespace ApplicationFramework {

class MainScopeInstanceCounter {
public:
    MainScopeInstanceCounter();
    ~MainScopeInstanceCounter();
    MainScopeInstanceCounter(const MainScopeInstanceCounter&) = delete;
    MainScopeInstanceCounter& operator=(const MainScopeInstanceCounter&) = delete;

    // The shared count; null when the shared value could not be had.
    volatile LONG* _GetInstCounter() const;

private:
    System::EnvironmentValuePtr m_pCounter;
};

}  // namespace ApplicationFramework
