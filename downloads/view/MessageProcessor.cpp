#include "downloads/view/BrunlowView.h"

#include "foundation/debugging/Log.h"

bool CBrunlowView::MessageProcessor::ProcessItem(const QueueEntry& entry) {
    if (!m_pSink)
        return false;
    switch (entry.message.type) {
    case MessageTypes::kStarted:
        m_pSink->OnProcessingStarted(entry);
        return true;
    case MessageTypes::kProgress:
        m_pSink->OnProcessingProgress(entry);
        return true;
    case MessageTypes::kFinished:
        m_pSink->OnProcessingFinished(entry);
        return true;
    case MessageTypes::kDuplicate:
        m_pSink->OnDuplicateFound(entry);
        return true;
    default:
        DEBUG_LOG(Debugging::LevelERR, "Unknown message type");
        return false;
    }
}
