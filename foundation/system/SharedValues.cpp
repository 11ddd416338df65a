#include "foundation/system/SharedValues.h"

#include "foundation/sync/BuiltOnce.h"
#include "foundation/system/EnvironmentValue.h"

namespace System {
namespace {

volatile LONG* SharedValueAddress(Synchronization::BuiltOnce& once, EnvironmentValuePtr& holder,
                                  const wchar_t* name, int initial) {
    // `holder` is read only once built: a failed build may be retried by
    // another thread at the same moment.
    if (!once.Run([&] { return !!GetEnvironmentValue(holder, name, &initial); }))
        return nullptr;
    return holder->Value();
}

}  // namespace

volatile LONG* GetSharedXmlFileInstanceCount() {
    static Synchronization::BuiltOnce s_once;
    static EnvironmentValuePtr s_value;
    return SharedValueAddress(s_once, s_value, L"xmlFileInstanceCount", 0);
}

volatile LONG* GetSharedDefaultCOMModel() {
    static Synchronization::BuiltOnce s_once;
    static EnvironmentValuePtr s_value;
    return SharedValueAddress(s_once, s_value, L"defaultCOMModel", 2);
}

volatile LONG* GetSharedMainScopeInstanceCount() {
    static Synchronization::BuiltOnce s_once;
    static EnvironmentValuePtr s_value;
    return SharedValueAddress(s_once, s_value, L"mainScopeInstanceCount", 0);
}

}  // namespace System
