#pragma once
// The log files of a product: the log file proper in the error-report folder
// on the desktop (critical lines by default) and the mirror file, which gets
// every line, in the log folder under the temporary folder. Mirror files of
// 15 days or older are deleted at each start.
#include "foundation/strings/LiteString.h"

#include <ctime>

namespace ErrorReport {

const int kOldLogDays = 15;

// Deletes the "*.log" files directly in the folder (not in sub-folders) whose
// names carry a time 15 days or more before now. Files whose names carry no
// valid time count as new and stay.
void DeleteOldLogs(const wlitestring& folder, __time64_t now);
void DeleteOldLogs(const wlitestring& folder);

// HKCU "Software\<key name>\Debugging\Log" "Level": 0..6, else 5.
int ReadProductLogLevel(const wlitestring& productKeyName);

// At start-up: stamped log and mirror paths for this run, the product's level
// (the key named by the short name, or by the product name when that is
// empty), the clean-up of the log folder, then ConfigureLog (flags 1 when
// `replace`). False when an existing configuration stayed or setting failed.
bool ConfigureLogFiles(const wlitestring& productName, const wlitestring& shortName, bool replace);

}  // namespace ErrorReport
