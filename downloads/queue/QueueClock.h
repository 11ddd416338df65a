#pragma once
// The tick count the event queue measures its drain interval with. Tests
// replace it to place the last drain and "now" where they need them.
#include <windows.h>

namespace Brunlow {
namespace QueueClock {

using Source = DWORD (*)();

// GetTickCount, or the source a test set.
DWORD Now();
// Null restores GetTickCount; returns the previous source (null for it).
Source SetSource(Source source);

}  // namespace QueueClock
}  // namespace Brunlow
