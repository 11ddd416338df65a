#pragma once
// Where the tips of the day live: the data folder (the product's name under
// the user's local application-data folder) with the tips file, the new tips
// file that an update leaves waiting and the pictures; the resources' copy of
// the tips file as fallback; the per-tip show statistics under HKCU.
//
// Threads: any; the path source is set by tests before tips are used.
#include "foundation/strings/LiteString.h"

#include <string>

namespace Tips {

// The product values the tips read; empty (and 0) without product information.
struct ProductValues {
    std::wstring productName;
    std::wstring productKeyName;
    unsigned long oemId = 0;
    int edition = 0;
    std::wstring converterAddress;
    std::wstring tipsAddress;
};
ProductValues GetProductValues();

// The product information's names, "TipOfTheDay.xml" and "TipOfTheDay_new.xml".
const std::wstring& GetTipsFileName();
const std::wstring& GetNewTipsFileName();

// The local application-data folder and the resources' tips file. Tests put
// their own in place so that nothing touches the user's folders.
struct PathSource {
    std::wstring (*localAppData)() = nullptr;
    std::wstring (*fallbackTipsFile)() = nullptr;
};
// Returns the previous source; null members use the system's.
PathSource SetPathSource(const PathSource& source);

// The data folder with its trailing backslash, created with missing parents.
std::wstring GetDataFolder();
std::wstring GetCurrentTipsFilePath();
std::wstring GetNewTipsFilePath();
// Where the updater downloads a tips file before it is checked: no swap
// touches this name, so an unchecked file never replaces the tips file.
std::wstring GetUncheckedTipsFilePath();

// The largest tips file that is read. A larger one would hold its reader
// (the window, at start) for as long as its parse takes: it is refused from
// its size alone, unread.
const unsigned long long kMaxTipsFileBytes = 1024 * 1024;
// True, with a warning in the log, when the file is larger than that.
bool _IsTooLargeTipsFile(const std::wstring& path);
// A tips file that could not be read is moved aside to "<path>.unreadable"
// (an older one of that name is replaced) and logged, never deleted: it may
// be the user's own. False, logged as an error, when the move failed.
bool _MoveAsideUnreadableTipsFile(const std::wstring& path);

// The tips file to read: the data folder's, unless it is too large, else
// the fallback; empty when neither serves.
std::wstring GetTipsPath();

// "Software\<product key name>\Statistics\Tips" under HKEY_CURRENT_USER.
std::wstring GetStatisticsKeyPath();

// The part after the last "/" or "\"; empty when that part is empty, "."
// or "..", or holds ":", so that a name from the web stays in the folder.
std::wstring GetSafeFileNamePart(const wlitestring& address);

// A waiting new tips file of 0 bytes is deleted, any other moved onto the
// tips file. False only when the move failed.
bool _SwapInNewTipsFile();

// The application's exit step once the updater has ended: the swap above,
// a failed move logged as an error.
void FinalizeTipOfTheDayUpdate();

}  // namespace Tips
