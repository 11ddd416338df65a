#include "downloads/queue/RefiningItemListUpdater.h"

#include "downloads/view/BrunlowView.h"
#include "foundation/debugging/LogConfiguration.h"
#include "testing/ChildProcess.h"
#include "testing/TempFolder.h"

#include "EngineFakes.h"

#include <gtest/gtest.h>

#include <boost/make_shared.hpp>

#include <atomic>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using KavennaEngine::DownloadItemHandle;
using Message = CBrunlowView::MessageTypes;
using Entry = CBrunlowView::QueueEntry;

namespace {

// Items with a recognisable number each.
struct Items {
    explicit Items(int count) {
        for (int i = 0; i < count; ++i)
            items.push_back(boost::make_shared<DownloadsTests::FakeItem>(0, 0, 0));
    }
    DownloadItemHandle operator[](int i) const { return DownloadItemHandle(items[i], std::uintptr_t(i + 1)); }
    std::vector<boost::shared_ptr<DownloadsTests::FakeItem>> items;
};

struct Delivery {
    int type;
    std::uintptr_t item;
    bool operator==(const Delivery& other) const { return type == other.type && item == other.item; }
};
std::ostream& operator<<(std::ostream& out, const Delivery& d) {
    return out << "{type " << d.type << ", item " << d.item << "}";
}

// Records every delivery; an optional step runs inside each one.
class RecordingExecutor {
public:
    bool ProcessItem(const Entry& entry) {
        delivered.push_back({entry.message.type, entry.item.m_pRaw});
        if (during)
            during(entry);
        return true;
    }
    std::vector<Delivery> delivered;
    std::function<void(const Entry&)> during;
};

using Queue = SimpleRefiningItemListUpdater<DownloadItemHandle, Message, RecordingExecutor>;

// The queue's clock, set by the test.
std::atomic<DWORD> g_now{0};
DWORD TestNow() {
    return g_now.load();
}
class ScopedClock {
public:
    explicit ScopedClock(DWORD now) : m_previous(Brunlow::QueueClock::SetSource(&TestNow)) { g_now = now; }
    ~ScopedClock() { Brunlow::QueueClock::SetSource(m_previous); }

private:
    Brunlow::QueueClock::Source m_previous;
};

const int S = Message::kStarted, P = Message::kProgress, F = Message::kFinished, D = Message::kDuplicate;

Message Kind(int type) {
    switch (type) {
    case Message::kStarted: return Message::Started();
    case Message::kProgress: return Message::Progress();
    case Message::kFinished: return Message::Finished();
    case Message::kDuplicate: return Message::Duplicate();
    }
    return Message{type, 0};
}

TEST(RefiningItemListUpdater, RefinesAndOrdersWhatItDelivers) {
    struct Post {
        int type;
        int item;  // 1-based, as the items' numbers
    };
    struct Case {
        const char* name;
        std::vector<Post> posted;
        std::vector<Delivery> delivered;
    } cases[] = {
        {"progress A x3 leaves the last", {{P, 1}, {P, 1}, {P, 1}}, {{P, 1}}},
        {"finished replaces progress", {{P, 1}, {F, 1}}, {{F, 1}}},
        {"started, then progress", {{S, 1}, {P, 1}}, {{S, 1}, {P, 1}}},
        {"urgent kinds overtake progress", {{P, 1}, {S, 2}, {P, 3}}, {{S, 2}, {P, 1}, {P, 3}}},
        {"started and finished both stay, in order", {{S, 1}, {P, 1}, {F, 1}}, {{S, 1}, {F, 1}}},
        {"duplicate keeps the other item's progress", {{P, 2}, {D, 1}, {P, 1}}, {{D, 1}, {P, 2}, {P, 1}}},
        {"progress of one item never replaces another's", {{P, 1}, {P, 2}, {P, 1}}, {{P, 2}, {P, 1}}},
    };
    Items items(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto executor = boost::make_shared<RecordingExecutor>();
        Queue queue(executor);
        for (const Post& post : c.posted)
            EXPECT_TRUE(queue.Post(Kind(post.type), items[post.item - 1]));
        queue.ProcessQueue();
        std::vector<Delivery> expected;
        for (const Delivery& d : c.delivered)
            expected.push_back(d);
        EXPECT_EQ(executor->delivered, expected);
        EXPECT_EQ(queue.GetNextInterval(), -1);
    }
}

TEST(RefiningItemListUpdater, ItemsThatAreGoneCompareEqual) {
    auto executor = boost::make_shared<RecordingExecutor>();
    Queue queue(executor);
    Items items(2);
    const DownloadItemHandle first = items[0], second = items[1];
    items.items.clear();  // both gone
    queue.Post(Message::Progress(), first);
    queue.Post(Message::Progress(), second);
    queue.ProcessQueue();
    ASSERT_EQ(executor->delivered.size(), 1u);
    EXPECT_EQ(executor->delivered[0].item, 2u);
}

TEST(RefiningItemListUpdater, HandlesNameTheSameItem) {
    // Handles carry their item's identity; a lookup compares those first.
    Items items(3);
    const DownloadItemHandle first = items[0], second = items[1], third = items[2];
    const DownloadItemHandle firstWithoutIdentity(items.items[0], 0);
    const struct {
        const char* name;
        DownloadItemHandle a, b;
        bool same;
    } alive[] = {{"copies of one handle", first, items[0], true},
                 {"two items", first, second, false},
                 {"one identity unknown", firstWithoutIdentity, first, true},
                 {"one identity unknown, two items", firstWithoutIdentity, second, false}};
    for (const auto& c : alive) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.a.IsSameItem(c.b), c.same);
        EXPECT_EQ(c.b.IsSameItem(c.a), c.same);
    }
    items.items[1].reset();
    EXPECT_FALSE(first.IsSameItem(second)) << "one of them gone";
    EXPECT_FALSE(second.IsSameItem(first));
    items.items[2].reset();
    EXPECT_TRUE(second.IsSameItem(third)) << "both gone";
}

TEST(RefiningItemListUpdater, IntervalFollowsTheLastDrain) {
    struct Case {
        const char* name;
        DWORD drainedAt;
        DWORD postedAt;
        int expected;
    } cases[] = {
        {"30 ms after", 1000, 1030, 70},
        {"at once", 1000, 1000, 100},
        {"100 ms after", 1000, 1100, 0},
        {"500 ms after", 1000, 1500, 0},
        {"across the tick count's wrap", 0xFFFFFFF0, 0x10, 68},
    };
    Items items(1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedClock clock(c.drainedAt);
        Queue queue(boost::make_shared<RecordingExecutor>());
        EXPECT_EQ(queue.GetNextInterval(), -1);
        queue.ProcessQueue();  // an empty drain still counts as the last one
        g_now = c.postedAt;
        queue.Post(Message::Progress(), items[0]);
        EXPECT_EQ(queue.GetNextInterval(), c.expected);
        int armed = -2;
        queue.RunWithNextInterval([&](int interval) { armed = interval; });
        EXPECT_EQ(armed, c.expected);
    }
}

TEST(RefiningItemListUpdater, NeverDrainedIsDueAtOnce) {
    ScopedClock clock(5000);
    Queue queue(boost::make_shared<RecordingExecutor>());
    Items items(1);
    queue.Post(Message::Started(), items[0]);
    EXPECT_EQ(queue.GetNextInterval(), 0);
}

TEST(RefiningItemListUpdater, DrainGoesOnPastFailuresAndTakesNewPosts) {
    Items items(3);
    auto executor = boost::make_shared<RecordingExecutor>();
    Queue queue(executor);
    // A handler that posts: its message is delivered in the same drain.
    executor->during = [&](const Entry& entry) {
        if (entry.item.m_pRaw == 1 && entry.message.type == S)
            queue.Post(Message::Finished(), items[2]);
    };
    queue.Post(Message::Started(), items[0]);
    queue.Post(Message::Progress(), items[1]);
    queue.ProcessQueue();
    EXPECT_EQ(executor->delivered, (std::vector<Delivery>{{S, 1}, {F, 3}, {P, 2}}));
    EXPECT_EQ(queue.GetNextInterval(), -1);
}

// The view's executor over a sink whose handlers record, and one throws.
class RecordingSink : public IBrunlowViewSink {
public:
    void OnProcessingStarted(const Entry& e) override { Record(S, e); }
    void OnProcessingProgress(const Entry& e) override { Record(P, e); }
    void OnProcessingFinished(const Entry& e) override { Record(F, e); }
    void OnDuplicateFound(const Entry& e) override { Record(D, e); }
    void Record(int type, const Entry& e) { delivered.push_back({type, e.item.m_pRaw}); }
    std::vector<Delivery> delivered;
};

TEST(RefiningItemListUpdater, ProcessorDispatchesByType) {
    RecordingSink sink;
    CBrunlowView::MessageProcessor processor(&sink);
    Items items(1);
    for (int type : {S, P, F, D})
        EXPECT_TRUE(processor.ProcessItem(Entry{Kind(type), items[0]}));
    EXPECT_EQ(sink.delivered, (std::vector<Delivery>{{S, 1}, {P, 1}, {F, 1}, {D, 1}}));

    CBrunlowView::MessageProcessor noSink(nullptr);
    EXPECT_FALSE(noSink.ProcessItem(Entry{Message::Started(), items[0]}));
}

TESTING_CHILD_SCENARIO(QueueLogsAnUnknownTypeAndDrainsOn) {
    RecordingSink sink;
    auto processor = boost::make_shared<CBrunlowView::MessageProcessor>(&sink);
    SimpleRefiningItemListUpdater<DownloadItemHandle, Message, CBrunlowView::MessageProcessor> queue(processor);
    Items items(2);
    queue.Post(Message{5, 1}, items[0]);
    queue.Post(Message::Finished(), items[1]);
    queue.ProcessQueue();
    return sink.delivered == std::vector<Delivery>{{F, 2}} ? 0 : 1;
}

TEST(RefiningItemListUpdater, UnknownTypeIsLoggedAndDropped) {
    Testing::TempFolder folder;
    const std::wstring logPath = folder / L"queue.log";
    EXPECT_TRUE(Testing::ChildSucceeded(Testing::RunChildScenario(
        "QueueLogsAnUnknownTypeAndDrainsOn",
        {{Debugging::kLogPathVariable, logPath}, {Debugging::kLogLevelVariable, std::wstring(L"0")}})));
    const std::string log = Testing::ReadFileBytes(logPath);
    const size_t line = log.find("Unknown message type");
    ASSERT_NE(line, std::string::npos) << log;
    const size_t lineStart = log.rfind('\n', line) == std::string::npos ? 0 : log.rfind('\n', line);
    const std::string record = log.substr(lineStart, line - lineStart);
    EXPECT_NE(record.find("CBrunlowView:MessageProcessor:ProcessItem@"), std::string::npos) << record;
    EXPECT_NE(record.find("ERR"), std::string::npos) << record;
}

// Engine threads post while the GUI thread drains: per item, started comes
// before finished, each once, and no progress follows the finish.
TEST(RefiningItemListUpdater, ManyPostingThreadsOneDrainer) {
    const int kThreads = 8, kItems = 500, kPerThread = 10000;
    Items items(kItems);
    auto executor = boost::make_shared<RecordingExecutor>();
    Queue queue(executor);
    std::atomic<int> running{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            std::vector<int> mine;
            for (int i = t; i < kItems; i += kThreads)
                mine.push_back(i);
            const int progressEach = kPerThread / int(mine.size()) - 2;
            for (int i : mine)
                queue.Post(Message::Started(), items[i]);
            for (int round = 0; round < progressEach; ++round)
                for (int i : mine)
                    queue.Post(Message::Progress(), items[i]);
            for (int i : mine)
                queue.Post(Message::Finished(), items[i]);
            --running;
        });
    }
    while (running > 0) {
        queue.ProcessQueue();
        ::Sleep(1);
    }
    for (std::thread& thread : threads)
        thread.join();
    queue.ProcessQueue();

    struct Seen {
        int started = 0, finished = 0, startedAt = -1, finishedAt = -1, lastProgressAt = -1;
    };
    std::map<std::uintptr_t, Seen> seen;
    for (size_t n = 0; n < executor->delivered.size(); ++n) {
        const Delivery& d = executor->delivered[n];
        Seen& s = seen[d.item];
        if (d.type == S) {
            ++s.started;
            s.startedAt = int(n);
        } else if (d.type == F) {
            ++s.finished;
            s.finishedAt = int(n);
        } else {
            s.lastProgressAt = int(n);
        }
    }
    ASSERT_EQ(seen.size(), size_t(kItems));
    for (const auto& [item, s] : seen) {
        SCOPED_TRACE(testing::Message() << "item " << item);
        EXPECT_EQ(s.started, 1);
        EXPECT_EQ(s.finished, 1);
        EXPECT_LT(s.startedAt, s.finishedAt);
        EXPECT_LT(s.lastProgressAt, s.finishedAt);
    }
}

}  // namespace
