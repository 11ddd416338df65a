#include "downloads/queue/QueueClock.h"

#include <atomic>

namespace Brunlow {
namespace QueueClock {

namespace {
std::atomic<Source> g_source{nullptr};
}

DWORD Now() {
    const Source source = g_source.load();
    return source ? source() : ::GetTickCount();
}

Source SetSource(Source source) {
    return g_source.exchange(source);
}

}  // namespace QueueClock
}  // namespace Brunlow
