#pragma once
// The per-thread item lock. A thread holds at most one engine item's lock at
// a time, so the program never holds two items' sections at once:
//
//   KavennaEngine::ItemLocker locker;
//   auto pItem = handle.Lock(locker);
//   if (!pItem) ...             // gone, or another item locked here
//   ... read pItem ...
//   // pItem, then locker, go out of scope
//
// Thread: a locker belongs to the thread that made it.
#include "engine/KavennaEngine.h"

#include <cstdint>
#include <memory>

namespace KavennaEngine {

class ItemLocker {
public:
    ItemLocker() = default;
    // Clears the thread's record (warning "((_pThisThreadItem))" when it was
    // already clear) and leaves the section of the item it holds.
    ~ItemLocker();
    ItemLocker(const ItemLocker&) = delete;
    ItemLocker& operator=(const ItemLocker&) = delete;

    bool IsEmpty() const { return !m_pHolder; }
    // True when this thread has no item locked, or has `raw` locked.
    bool CheckIsVacant(std::uintptr_t raw) const;

private:
    friend class DownloadItemHandle;

    // The item is kept alive until its section has been left: the engine may
    // let the item go while this thread holds it.
    struct Holder {
        Holder(boost::shared_ptr<IDownloadItem> pItem, CRITICAL_SECTION* pSection);
        ~Holder();
        boost::shared_ptr<IDownloadItem> pItem;
        CRITICAL_SECTION* pSection;
    };

    void _Hold(std::unique_ptr<Holder> pHolder);

    std::unique_ptr<Holder> m_pHolder;
};

// The identity of the item this thread has locked; 0 when none.
std::uintptr_t GetThisThreadItem();

}  // namespace KavennaEngine
