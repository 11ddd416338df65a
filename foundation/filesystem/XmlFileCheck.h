#pragma once
// CheckXmlFile: whether a data file the program reads as XML can serve, and
// if not, why, in words that fit a log line or a message: "The style file
// <path> " + reason + ".". Loaders run it when their load failed (to say
// why) or before they rely on a file they cannot run without.
//
//   std::wstring why;
//   if (FileSystem::CheckXmlFile(path, L"ResourceLib/Resources", why) != FileSystem::XmlFileFault::None)
//       DEBUG_LOG(Debugging::LevelWRN, L"The language file " + path + L" " + why + L".");
//
// Threads: any; the parse enters COM on the calling thread for its length.
#include "foundation/strings/LiteString.h"

#include <windows.h>

#include <string>

namespace FileSystem {

enum class XmlFileFault {
    None = 0,
    Missing,        // no file of that name
    Unreadable,     // it cannot be opened or read
    TooLarge,       // above the size the caller takes
    Empty,          // no bytes, or blanks only
    WrongEncoding,  // the bytes are not what the file declares (UTF-8 when it declares none)
    NotWellFormed,  // not XML, or cut short
    WrongRoot,      // well-formed, without the element the caller needs
};

// `requiredPath`: XPath of an element the file must hold ("skin",
// "ResourceLib/Resources"); empty takes any root. `maxBytes`: 0 for no limit;
// a larger file is refused from its size alone, unread. `reason` is set to
// the words of the fault, empty for None.
XmlFileFault CheckXmlFile(const wlitestring& path, const wlitestring& requiredPath, std::wstring& reason,
                          ULONGLONG maxBytes = 0);

// The words CheckXmlFile gives for a fault: "is missing", "is empty", ...
std::wstring DescribeXmlFileFault(XmlFileFault fault, const wlitestring& requiredPath, ULONGLONG maxBytes = 0);

}  // namespace FileSystem
