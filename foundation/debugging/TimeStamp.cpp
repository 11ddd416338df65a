#include "foundation/debugging/TimeStamp.h"

#include <iomanip>

namespace ErrorReport {

void WriteTimeStamp(const std::tm& time, std::wostream& stream, unsigned flags) {
    const wchar_t field = (flags & kStampForFileName) ? L'.' : L':';
    const wchar_t dateTime = (flags & kStampForFileName) ? L'_' : L' ';
    const wchar_t oldFill = stream.fill(L'0');
    if (flags & kStampWithYear)
        stream << std::setw(4) << time.tm_year + 1900 << field;
    stream << std::setw(2) << time.tm_mon + 1 << field << std::setw(2) << time.tm_mday << dateTime << std::setw(2)
           << time.tm_hour << field << std::setw(2) << time.tm_min << field << std::setw(2) << time.tm_sec;
    stream.fill(oldFill);
}

void WriteNowTimeStamp(std::wostream& stream, unsigned flags) {
    const __time64_t now = _time64(nullptr);
    std::tm local = {};
    if (const std::tm* pLocal = _localtime64(&now))
        local = *pLocal;
    WriteTimeStamp(local, stream, flags);
}

bool MakeLocalTime(int year, int month, int day, int hour, int minute, int second, __time64_t& time) {
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59)
        return false;
    std::tm local = {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    const __time64_t made = _mktime64(&local);
    if (made == -1)
        return false;
    time = made;
    return true;
}

}  // namespace ErrorReport
