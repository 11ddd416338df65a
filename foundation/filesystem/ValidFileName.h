#pragma once
#include <string>

namespace FileSystem {

// Makes a text usable as a file name, in place:
// - a reserved device name alone or before a dot gets a "~" after it and
//   nothing else changes ("con" -> "con~", "Aux.txt" -> "Aux~.txt");
// - otherwise control characters and | \ ? * < " : > / become `replacement`,
//   blanks, dots, tabs, CR and LF go from both ends, and a text left empty
//   becomes `replacement` once per character it had ("..." -> "___").
void MakeValidFileName(std::wstring& text, wchar_t replacement);

}  // namespace FileSystem
