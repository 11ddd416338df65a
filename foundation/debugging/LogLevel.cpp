#include "foundation/debugging/LogLevel.h"

namespace Debugging {

const wchar_t* GetLevelText(int level) {
    static const wchar_t* const texts[] = {L"DIS", L"DBG", L"INF", L"WRN", L"ERR", L"CRT", L"OBL"};
    return level >= 0 && level <= kMaxLogLevel ? texts[level] : L"UNK";
}

}  // namespace Debugging
