#include "downloads/engine/ItemLocker.h"

#include "EngineStandIn.h"
#include "foundation/errors/ErrorException.h"
#include "foundation/tests/RecordingSink.h"

#include <gtest/gtest.h>

#include <thread>

using namespace KavennaEngine;
using DownloadsTests::EngineStandIn;

namespace {

bool SectionIsFree(IDownloadItem& item) {
    bool isFree = false;
    std::thread other([&] {
        if (::TryEnterCriticalSection(item.GetLock())) {
            isFree = true;
            ::LeaveCriticalSection(item.GetLock());
        }
    });
    other.join();
    return isFree;
}

class ItemLockerTest : public ::testing::Test {
protected:
    DownloadItemHandle NewItem(const wchar_t* name) {
        TestDoor::ItemSpec spec;
        spec.displayName = name;
        return engine.door->AddItem(spec);
    }
    EngineStandIn engine;
};

TEST_F(ItemLockerTest, SameItemTwiceEntersOnceAndInnerReleaseChangesNothing) {
    const DownloadItemHandle item = NewItem(L"a.flv");
    ItemLocker outer;
    boost::shared_ptr<IDownloadItem> pOuter = item.Lock(outer);
    ASSERT_TRUE(pOuter);
    EXPECT_EQ(item.m_pRaw, GetThisThreadItem());
    {
        ItemLocker inner;
        const DownloadItemHandle copy = item;
        boost::shared_ptr<IDownloadItem> pInner = copy.Lock(inner);
        EXPECT_EQ(pOuter, pInner);
        EXPECT_TRUE(inner.IsEmpty());
        EXPECT_EQ(1, pOuter->GetLock()->RecursionCount);
    }
    EXPECT_EQ(item.m_pRaw, GetThisThreadItem());
    EXPECT_FALSE(SectionIsFree(*pOuter));
}

TEST_F(ItemLockerTest, SecondItemRaisesAndFirstStaysLocked) {
    const DownloadItemHandle first = NewItem(L"first.flv");
    const DownloadItemHandle second = NewItem(L"second.flv");
    ItemLocker firstLocker;
    const boost::shared_ptr<IDownloadItem> pFirst = first.Lock(firstLocker);
    ASSERT_TRUE(pFirst);
    ItemLocker secondLocker;
    try {
        second.Lock(secondLocker);
        ADD_FAILURE() << "a second item locked on one thread did not raise";
    } catch (const ErrorHandling::ErrorException& error) {
        EXPECT_NE(std::string::npos, std::string(error.what()).find("((locker.CheckIsVacant(m_pRaw)))"));
    }
    EXPECT_TRUE(secondLocker.IsEmpty());
    EXPECT_EQ(first.m_pRaw, GetThisThreadItem());
    EXPECT_FALSE(SectionIsFree(*pFirst));
}

TEST_F(ItemLockerTest, SecondItemUnderReturningSinkGivesEmpty) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    const DownloadItemHandle first = NewItem(L"first.flv");
    const DownloadItemHandle second = NewItem(L"second.flv");
    ItemLocker firstLocker;
    ASSERT_TRUE(first.Lock(firstLocker));
    ItemLocker secondLocker;
    EXPECT_FALSE(second.Lock(secondLocker));
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Assertion, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((locker.CheckIsVacant(m_pRaw)))"));
}

TEST_F(ItemLockerTest, GoneItemGivesEmptyAndLeavesLockerEmpty) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    const DownloadItemHandle item = NewItem(L"gone.flv");
    engine.door->LetItemGo(item);
    ItemLocker locker;
    EXPECT_FALSE(item.Lock(locker));
    EXPECT_TRUE(locker.IsEmpty());
    EXPECT_EQ(0u, GetThisThreadItem());
    EXPECT_TRUE(sink.reports.empty());
}

TEST_F(ItemLockerTest, ZeroIdentityResolvesWithoutLocking) {
    const DownloadItemHandle item = NewItem(L"zero.flv");
    const DownloadItemHandle unnamed(item.Peek(), 0);
    ItemLocker locker;
    const boost::shared_ptr<IDownloadItem> pItem = unnamed.Lock(locker);
    ASSERT_TRUE(pItem);
    EXPECT_TRUE(locker.IsEmpty());
    EXPECT_EQ(0u, GetThisThreadItem());
    EXPECT_TRUE(SectionIsFree(*pItem));
}

TEST_F(ItemLockerTest, ReleaseWithEmptyRecordWarnsAndLeavesTheSection) {
    FoundationTests::RecordingSink sink;
    FoundationTests::ScopedSink scope(&sink);
    const DownloadItemHandle item = NewItem(L"warn.flv");
    // A locker taken on another thread and released here, where the
    // thread's record is empty.
    std::unique_ptr<ItemLocker> pLocker(new ItemLocker);
    boost::shared_ptr<IDownloadItem> pItem;
    std::thread other([&] { pItem = item.Lock(*pLocker); });
    other.join();
    ASSERT_TRUE(pItem);
    EXPECT_FALSE(SectionIsFree(*pItem));
    pLocker.reset();
    ASSERT_EQ(1u, sink.reports.size());
    EXPECT_EQ(Reporting::Warning, sink.reports[0].severity);
    EXPECT_NE(std::wstring::npos, sink.reports[0].text.find(L"((_pThisThreadItem))"));
    EXPECT_TRUE(SectionIsFree(*pItem));
}

TEST_F(ItemLockerTest, ItemLetGoWhileLockedIsLeftThenFreed) {
    const DownloadItemHandle item = NewItem(L"held.flv");
    boost::weak_ptr<IDownloadItem> watch = item.m_pItem;
    {
        ItemLocker locker;
        boost::shared_ptr<IDownloadItem> pItem = item.Lock(locker);
        ASSERT_TRUE(pItem);
        CRITICAL_SECTION* pSection = pItem->GetLock();
        // The engine lets go on another thread while this thread holds the lock.
        std::thread other([&] { engine.door->LetItemGo(item); });
        other.join();
        pItem.reset();
        EXPECT_FALSE(watch.expired()) << "the lock holder keeps the item";
        EXPECT_EQ(1, pSection->RecursionCount);
    }
    EXPECT_TRUE(watch.expired());
    EXPECT_EQ(0u, GetThisThreadItem());
}

}  // namespace
