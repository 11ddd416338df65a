#include "foundation/filesystem/ComScope.h"

#include "foundation/tests/BoundedCall.h"
#include "foundation/tests/ComScopeProbe.h"
#include "foundation/tests/RecordingSink.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using FoundationTests::Apartment;
using System::ComScope;

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
            FoundationTests::EnterApartment(c.before);
            {
                ComScope scope(c.model, c.flags);
                EXPECT_EQ(c.succeeds, SUCCEEDED(scope.GetResult())) << std::hex << scope.GetResult();
                if (!c.succeeds) {
                    EXPECT_EQ(RPC_E_CHANGED_MODE, scope.GetResult());
                }
                EXPECT_EQ(c.model, scope.GetRequestedModel());
                EXPECT_EQ(c.modelInUse, scope.GetModelInUse());
                EXPECT_EQ(c.during, FoundationTests::ProbeApartment());
            }
            FoundationTests::ExpectOnlyOwnApartmentLeft(c.before);
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
        FoundationTests::EnterApartment(Apartment::Multithreaded);
        scope.reset();
        FoundationTests::ExpectOnlyOwnApartmentLeft(Apartment::Multithreaded);
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
