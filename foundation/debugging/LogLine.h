#pragma once
// The columns of a log line. A header line is
//   time stamp (19) " " level (3) " " thread (5) " " source (48) " " text "\r\n"
// so the text begins in column 80; a continuation line is 79 blanks, the text
// and "\r\n".
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace Debugging {

const int kLineTextColumn = 79;  // characters in front of the text
const int kThreadFieldWidth = 5;
const int kSourceFieldWidth = 48;

// The line for the current local time and thread.
std::wstring FormatLine(const wlitestring& text, const wlitestring& source, int level, bool header);
std::wstring FormatLineAt(const wlitestring& text, const wlitestring& source, int level, bool header,
                          const SYSTEMTIME& localTime, DWORD threadId);

// "2013.05.04 17:03:09"
std::wstring FormatLineTimeStamp(const SYSTEMTIME& localTime);
// The id left-aligned in 5 characters; a longer number keeps its first 5.
std::wstring FormatThreadField(DWORD threadId);
// The tag padded to 48; a longer one keeps its last 48 characters, the first
// of which becomes "?". An empty tag is replaced by the executable's file name.
std::wstring FormatSourceField(const wlitestring& source);

}  // namespace Debugging
