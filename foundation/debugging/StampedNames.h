#pragma once
// Stamped file names: one per run and process, readable back as a time.
//
//   MakeStampedFileName(L"activity", L"log")
//       "<exe stem>_activity_2013.05.04_17.03.09_pid1234.log"
#include "foundation/strings/LiteString.h"

#include <ctime>
#include <string>

namespace ErrorReport {

std::wstring MakeStampedFileName(const wlitestring& stem, const wlitestring& extension);
// The folder joined with the stamped name made of the file name's stem and
// extension; "" for an empty folder.
std::wstring MakeStampedFilePath(const wlitestring& folder, const wlitestring& fileName);

// The time after "_activity_" in the file name ("%d.%d.%d_%d.%d.%d_pid%d.log"),
// or `now` when the name carries none or one that is no valid local time.
__time64_t GetLogFileTime(const wlitestring& path, __time64_t now);
__time64_t GetLogFileTime(const wlitestring& path);

}  // namespace ErrorReport
