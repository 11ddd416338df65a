#include "downloads/engine/ItemLocker.h"

#include "foundation/errors/Checks.h"

namespace KavennaEngine {

namespace {
// Plain per-thread integer; read and written with interlocked calls so that
// the record's transitions are single steps.
thread_local volatile LONG_PTR _pThisThreadItem = 0;
}  // namespace

std::uintptr_t GetThisThreadItem() {
    return static_cast<std::uintptr_t>(_pThisThreadItem);
}

ItemLocker::Holder::Holder(boost::shared_ptr<IDownloadItem> pItemIn, CRITICAL_SECTION* pSectionIn)
    : pItem(std::move(pItemIn)), pSection(pSectionIn) {
    ::EnterCriticalSection(pSection);
}

ItemLocker::Holder::~Holder() {
    ::LeaveCriticalSection(pSection);
    // pItem goes after the section was left.
}

ItemLocker::~ItemLocker() {
    if (!m_pHolder)
        return;
    CHECK_WARNING(_pThisThreadItem);
    ::InterlockedExchange(&_pThisThreadItem, 0);
    m_pHolder.reset();
}

bool ItemLocker::CheckIsVacant(std::uintptr_t raw) const {
    const std::uintptr_t held = GetThisThreadItem();
    return held == 0 || held == raw;
}

void ItemLocker::_Hold(std::unique_ptr<Holder> pHolder) {
    // A holder left over is released without touching the thread record.
    m_pHolder.reset();
    m_pHolder = std::move(pHolder);
}

boost::shared_ptr<IDownloadItem> DownloadItemHandle::Lock(ItemLocker& locker) const {
    CHECK_ASSERT(locker.CheckIsVacant(m_pRaw));
    boost::shared_ptr<IDownloadItem> pItem = m_pItem.lock();
    if (!pItem)
        return pItem;
    if (m_pRaw == 0)
        return pItem;
    const LONG_PTR previous =
        ::InterlockedCompareExchange(&_pThisThreadItem, static_cast<LONG_PTR>(m_pRaw), 0);
    if (previous == 0) {
        CRITICAL_SECTION* pSection = pItem->GetLock();
        try {
            locker._Hold(std::make_unique<ItemLocker::Holder>(pItem, pSection));
        } catch (...) {
            ::InterlockedExchange(&_pThisThreadItem, 0);
            throw;
        }
        return pItem;
    }
    if (static_cast<std::uintptr_t>(previous) == m_pRaw)
        return pItem;  // already held by this thread: not entered again
    return {};
}

}  // namespace KavennaEngine
