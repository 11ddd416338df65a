#include "foundation/filesystem/ComScope.h"

#include "foundation/tests/BoundedCall.h"
#include "foundation/tests/RecordingSink.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <ole2.h>

#include <memory>
#include <ostream>

namespace {

using System::ComScope;

enum class Apartment { None, Multithreaded, ApartmentThreaded };

std::ostream& operator<<(std::ostream& out, Apartment apartment) {
    switch (apartment) {
    case Apartment::None:
        return out << "none";
    case Apartment::Multithreaded:
        return out << "MTA";
    default:
        return out << "STA";
    }
}

// The calling thread's apartment, found by entering and leaving COM once,
// which leaves the thread's COM count as it was.
Apartment ProbeApartment() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr))
        CoUninitialize();
    if (hr == S_OK)
        return Apartment::None;
    return hr == S_FALSE ? Apartment::Multithreaded : Apartment::ApartmentThreaded;
}

void EnterApartment(Apartment apartment) {
    if (apartment == Apartment::Multithreaded) {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    } else if (apartment == Apartment::ApartmentThreaded) {
        ASSERT_EQ(S_OK, CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
}

void LeaveApartment(Apartment apartment) {
    if (apartment != Apartment::None)
        CoUninitialize();
}

struct ScopeCase {
    Apartment before;
    DWORD model;
    DWORD flags;
    bool succeeds;
    DWORD modelInUse;
    Apartment during;
};

// On a thread that already holds an apartment, the scope either joins it
// (through the fall-back order 0, 2, 1) or fails and leaves it; either way the
// thread's COM count is back where it was once the scope ends.
TEST(ComScope, EntersTheRequestedModelOrFallsBackAndLeavesTheThreadBalanced) {
    const ScopeCase cases[] = {
        {Apartment::None, ComScope::Multithreaded, 3, true, ComScope::Multithreaded, Apartment::Multithreaded},
        {Apartment::None, ComScope::ApartmentThreaded, 3, true, ComScope::ApartmentThreaded,
         Apartment::ApartmentThreaded},
        {Apartment::None, ComScope::Ole, 3, true, ComScope::Ole, Apartment::ApartmentThreaded},
        {Apartment::None, 7, 3, true, 7, Apartment::ApartmentThreaded},
        {Apartment::Multithreaded, ComScope::Ole, 3, true, ComScope::Multithreaded, Apartment::Multithreaded},
        {Apartment::Multithreaded, ComScope::ApartmentThreaded, 3, true, ComScope::Multithreaded,
         Apartment::Multithreaded},
        {Apartment::Multithreaded, 7, 1, true, ComScope::Multithreaded, Apartment::Multithreaded},
        // 2 is tried before 1.
        {Apartment::ApartmentThreaded, ComScope::Multithreaded, 3, true, ComScope::Ole,
         Apartment::ApartmentThreaded},
        {Apartment::ApartmentThreaded, ComScope::Ole, 3, true, ComScope::Ole, Apartment::ApartmentThreaded},
        // Bit 0 clear: no fall-back.
        {Apartment::Multithreaded, ComScope::Ole, 2, false, ComScope::Ole, Apartment::Multithreaded},
        {Apartment::ApartmentThreaded, ComScope::Multithreaded, 0, false, ComScope::Multithreaded,
         Apartment::ApartmentThreaded},
    };
    for (const ScopeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "thread " << c.before << ", model " << c.model
                                        << ", flags " << c.flags);
        ThreadTests::RunBounded("ComScope case", [&] {
            EnterApartment(c.before);
            {
                ComScope scope(c.model, c.flags);
                EXPECT_EQ(c.succeeds, SUCCEEDED(scope.GetResult())) << std::hex << scope.GetResult();
                if (!c.succeeds) {
                    EXPECT_EQ(RPC_E_CHANGED_MODE, scope.GetResult());
                }
                EXPECT_EQ(c.model, scope.GetRequestedModel());
                EXPECT_EQ(c.modelInUse, scope.GetModelInUse());
                EXPECT_EQ(c.during, ProbeApartment());
            }
            // Still in the apartment the thread entered itself, and leaving it
            // once leaves COM altogether: the scope entered and left exactly once.
            EXPECT_EQ(c.before, ProbeApartment());
            LeaveApartment(c.before);
            EXPECT_EQ(Apartment::None, ProbeApartment());
        });
    }
}

// The scope of a document released on another thread must not leave COM on
// that thread, which never entered it through the scope.
TEST(ComScope, EndedOnAnotherThreadLeavesThatThreadsComAlone) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scopedSink(&sink);
    std::unique_ptr<ComScope> scope;
    ThreadTests::RunBounded("build the scope", [&] {
        scope.reset(new ComScope(ComScope::Multithreaded, 3));
        EXPECT_EQ(S_OK, scope->GetResult());
    });
    ThreadTests::RunBounded("end the scope elsewhere", [&] {
        EnterApartment(Apartment::Multithreaded);
        scope.reset();
        EXPECT_EQ(Apartment::Multithreaded, ProbeApartment());
        LeaveApartment(Apartment::Multithreaded);
        EXPECT_EQ(Apartment::None, ProbeApartment());
    });
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Warning, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((currentThreadId == m_threadId))"))
        << sink.reports[0].text;
}

TEST(ComScope, DefaultModelIsTheSharedValueStartingAtOle) {
    volatile LONG* pModel = System::GetDefaultCOMModel();
    ASSERT_NE(nullptr, pModel);
    EXPECT_EQ(pModel, System::GetDefaultCOMModel());
    EXPECT_EQ(ComScope::Ole, static_cast<DWORD>(InterlockedCompareExchange(pModel, 0, 0)));
}

}  // namespace
