#pragma once
// Time stamps of file names and their reading back.
//
//   flags 3: "2013.05.04_17.03.09"     flags 1: "2013:05:04 17:03:09"
//   flags 2: "05.04_17.03.09"          flags 0: "05:04 17:03:09"
#include <ctime>
#include <ostream>

namespace ErrorReport {

const unsigned kStampWithYear = 1;     // the four-digit year first
const unsigned kStampForFileName = 2;  // "." between fields, "_" between date and time
const unsigned kStampFileName = kStampWithYear | kStampForFileName;

// A broken-down local time.
void WriteTimeStamp(const std::tm& time, std::wostream& stream, unsigned flags);
// The current local time (_time64, then _localtime64).
void WriteNowTimeStamp(std::wostream& stream, unsigned flags);

// The local time of the six fields (daylight saving as mktime finds it);
// false for a year before 1900, a month outside 1..12, a day outside 1..31,
// an hour above 23, a minute or second above 59, or a time mktime refuses.
bool MakeLocalTime(int year, int month, int day, int hour, int minute, int second, __time64_t& time);

}  // namespace ErrorReport
