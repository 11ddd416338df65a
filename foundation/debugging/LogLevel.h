#pragma once
// Log levels: the number callers pass and the three letters a line shows.
//
//   DEBUG_LOG(Debugging::LevelWRN, "Skin not found");   // see Log.h
namespace Debugging {

enum LogLevel : int {
    LevelDIS = 0,  // below every threshold; written by the log itself only
    LevelDBG = 1,
    LevelINF = 2,
    LevelWRN = 3,
    LevelERR = 4,
    LevelCRT = 5,  // the threshold of an unconfigured log
    LevelOBL = 6,  // always shown
};

const int kMaxLogLevel = LevelOBL;

// "DIS" .. "OBL" for 0..6, "UNK" for any other number.
const wchar_t* GetLevelText(int level);

}  // namespace Debugging
