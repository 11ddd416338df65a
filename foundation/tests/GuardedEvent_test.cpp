#include "foundation/sync/GuardedEvent.h"

#include "foundation/sync/CriticalSection.h"
#include "foundation/sync/RaiseLastError.h"

#include <afxexcept.h>
#include <gtest/gtest.h>

namespace {

using Synchronization::GuardedEvent;

TEST(GuardedEvent, StartsAsAskedAndSetsAndResetsOnce) {
    for (bool initiallySet : {false, true}) {
        SCOPED_TRACE(initiallySet ? "set" : "not set");
        GuardedEvent event(initiallySet);
        EXPECT_EQ(initiallySet, event.IsSet());
        event.SetIfNotSet();
        event.SetIfNotSet();
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), event.Wait(0));
        EXPECT_EQ(static_cast<DWORD>(WAIT_OBJECT_0), event.Wait(0)) << "manual reset";
        event.ResetIfSet();
        event.ResetIfSet();
        EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.Wait(0));
    }
}

// What a failed creation of a critical section or an event raises: MFC's
// exception for the last error's HRESULT.
TEST(GuardedEvent, CreationFailuresRaiseTheLastErrorAsMfcExceptions) {
    enum Raised { Nothing, Ole, Memory };
    struct Case {
        const char* name;
        DWORD lastError;
        Raised raised;
        HRESULT code;
    };
    const Case cases[] = {
        {"no last error", 0, Nothing, S_OK},
        {"access denied", ERROR_ACCESS_DENIED, Ole, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)},
        {"invalid parameter", ERROR_INVALID_PARAMETER, Ole, HRESULT_FROM_WIN32(ERROR_INVALID_PARAMETER)},
        {"out of memory", ERROR_OUTOFMEMORY, Memory, E_OUTOFMEMORY},
        {"an HRESULT as last error", static_cast<DWORD>(E_OUTOFMEMORY), Memory, E_OUTOFMEMORY},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Raised raised = Nothing;
        HRESULT code = S_OK;
        try {
            SetLastError(c.lastError);
            Synchronization::Impl::RaiseLastError();
        } catch (COleException* e) {
            raised = Ole;
            code = e->m_sc;
            e->Delete();
        } catch (CMemoryException* e) {
            raised = Memory;
            code = E_OUTOFMEMORY;
            e->Delete();
        }
        EXPECT_EQ(c.raised, raised);
        EXPECT_EQ(c.code, code);
    }
}

}  // namespace
