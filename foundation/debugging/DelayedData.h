#pragma once
// Delayed data: formatted lines that could not reach the log file yet, kept
// in the environment so that they survive until the file opens, in this
// process or in a program it starts.
//
// An environment value holds at most 32,767 characters, so the data is cut
// into pieces of kDelayedDataChunk characters: "Debugging_Log_DelayedData"
// holds the first, "Debugging_Log_DelayedData_2", "_3", ... the following
// ones; the text is their concatenation up to the first empty piece. Callers
// serialise each read-modify-write under the log's lock.
#include "foundation/strings/LiteString.h"

#include <cstddef>
#include <string>

namespace Debugging {

// Above this many characters no further line is kept.
const std::size_t kDelayedDataLimit = 0x100000;
const std::size_t kDelayedDataChunk = 32000;

// The variable of piece `index` (0 is "Debugging_Log_DelayedData").
std::wstring DelayedDataVariable(int index);

// The whole text; empty when there is none.
std::wstring ReadDelayedData();
// Empties the first piece and removes the others.
bool ClearDelayedData();
// Adds the line to the end. False, keeping the data as it is, when it already
// holds more than kDelayedDataLimit characters: the line is lost. False too
// when a variable cannot be set.
bool AppendDelayedData(const wlitestring& line);

}  // namespace Debugging
