#pragma once
// Folder creation for the files the log opens.
#include <string>

namespace Debugging {

// Creates the folder that holds `filePath`, with all missing parents; true
// when it exists afterwards.
bool CreateFolderOf(const std::wstring& filePath);

}  // namespace Debugging
