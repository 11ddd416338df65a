#include "foundation/sync/Event.h"

#include "foundation/errors/ErrorException.h"
#include "RecordingSink.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

using FoundationTests::RecordingSink;
using FoundationTests::ScopedSink;
using Synchronization::Event;
using Synchronization::WaitResult;

bool EndsWith(const std::wstring& text, const std::wstring& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A mutex whose owning thread ended without releasing it.
HANDLE MakeAbandonedMutex() {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    std::thread([mutex] { WaitForSingleObject(mutex, 0); }).join();
    return mutex;
}

TEST(Event, WaitInterpretsWhatTheWaitReturned) {
    struct Case {
        const char* name;
        HANDLE (*make)();
        bool cancel;
        WaitResult expected;  // object: true when the handle is expected
    };
    const Case cases[] = {
        {"signalled", [] { return CreateEventW(nullptr, TRUE, TRUE, nullptr); }, false,
         {0, 0, 0, 0, -1, (HANDLE)1, WAIT_OBJECT_0}},
        {"timed out", [] { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }, false,
         {0, 0, 0, -1, -1, nullptr, WAIT_TIMEOUT}},
        {"abandoned", &MakeAbandonedMutex, false, {1, 0, 0, -1, 0, (HANDLE)1, WAIT_ABANDONED}},
        // The mark is honoured before the wait: a 5 s wait on a clear event
        // returns at once, reported like an abandoned object.
        {"cancelled", [] { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }, true,
         {1, 0, 0, -1, 0, (HANDLE)1, WAIT_ABANDONED}},
        {"cancelled and signalled", [] { return CreateEventW(nullptr, TRUE, TRUE, nullptr); }, true,
         {1, 0, 0, -1, 0, (HANDLE)1, WAIT_ABANDONED}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Event event(c.make());
        ASSERT_NE(nullptr, event.Handle());
        event.SetCancelled(c.cancel);
        WaitResult result;
        const DWORD timeout = c.cancel ? 5000 : 50;
        const DWORD start = GetTickCount();
        EXPECT_EQ(&result, &event.Wait(result, timeout));
        if (c.cancel) {
            EXPECT_LT(GetTickCount() - start, 2500u) << "the cancelled wait waited";
        }
        EXPECT_EQ(c.expected.isCancelled, result.isCancelled);
        EXPECT_EQ(c.expected.isExtraSlot, result.isExtraSlot);
        EXPECT_EQ(c.expected.signaledIndex, result.signaledIndex);
        EXPECT_EQ(c.expected.abandonedIndex, result.abandonedIndex);
        EXPECT_EQ(c.expected.object ? event.Handle() : nullptr, result.object);
        EXPECT_EQ(c.expected.rawValue, result.rawValue);
        EXPECT_EQ(c.expected.signaledIndex >= 0, result.Succeeded());
    }
    static_assert(sizeof(WaitResult) == 20, "five 32-bit words");
}

TEST(Event, ACreatedEventSignalsAWaiter) {
    Event event;
    ASSERT_TRUE(event.Create(nullptr, FALSE, FALSE, nullptr));
    WaitResult result;
    EXPECT_FALSE(event.Wait(result, 0).Succeeded());
    std::thread setter([&] { event.Set(); });
    EXPECT_TRUE(event.Wait(result, 10000).Succeeded());
    setter.join();
    EXPECT_FALSE(event.Wait(result, 0).Succeeded()) << "auto-reset";
}

// A handle value that names nothing in this process.
HANDLE NoSuchHandle() {
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x3FFFFFF0));
}

TEST(Event, AFailedWaitIsAnAssertion) {
    Event event(NoSuchHandle());
    WaitResult result;
    EXPECT_THROW(event.Wait(result, 0), ErrorHandling::ErrorException);

    RecordingSink sink;
    ScopedSink scope(&sink);
    event.Wait(result, 0);
    EXPECT_EQ(WAIT_FAILED, result.rawValue);
    EXPECT_EQ(-1, result.signaledIndex);
    EXPECT_EQ(nullptr, result.object);
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Assertion, sink.reports[0].severity);
    EXPECT_EQ(0u, sink.reports[0].text.find(L"Code 6: ")) << sink.reports[0].text;  // ERROR_INVALID_HANDLE
    EXPECT_TRUE(EndsWith(sink.reports[0].text, L" ((GetLastError()))")) << sink.reports[0].text;
}

}  // namespace
