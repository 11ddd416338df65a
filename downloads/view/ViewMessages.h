#pragma once
// What the download list's event queue carries: the kind of a queued engine
// event and the entry the view's sink receives on the GUI thread.
#include "downloads/queue/RefiningItemListUpdater.h"
#include "engine/KavennaEngine.h"

// One queued message's kind; the larger priority is more urgent.
struct BrunlowViewMessageTypes {
    static constexpr int kStarted = 1;
    static constexpr int kProgress = 2;
    static constexpr int kFinished = 3;
    static constexpr int kDuplicate = 4;

    int type;
    int priority;

    static BrunlowViewMessageTypes Started() { return {kStarted, 1}; }
    static BrunlowViewMessageTypes Progress() { return {kProgress, 0}; }
    static BrunlowViewMessageTypes Finished() { return {kFinished, 1}; }
    static BrunlowViewMessageTypes Duplicate() { return {kDuplicate, 1}; }
};

using BrunlowViewEntry = RefiningQueueEntry<KavennaEngine::DownloadItemHandle, BrunlowViewMessageTypes>;

// The view as its queue's executor sees it. Called on the GUI thread, one
// entry at a time.
class IBrunlowViewSink {
public:
    virtual ~IBrunlowViewSink() = default;
    virtual void OnProcessingStarted(const BrunlowViewEntry& entry) = 0;
    virtual void OnProcessingProgress(const BrunlowViewEntry& entry) = 0;
    virtual void OnProcessingFinished(const BrunlowViewEntry& entry) = 0;
    virtual void OnDuplicateFound(const BrunlowViewEntry& entry) = 0;
};
