#pragma once
#include <string>
#include <vector>

namespace Testing {

// A fresh folder under %TEMP%, removed with everything in it on destruction.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& Path() const { return m_path; }
    // Path of an entry inside the folder (nothing is created).
    std::wstring operator/(const std::wstring& relative) const;
    // Creates a file (and its parent folders) holding the given bytes.
    std::wstring WriteFile(const std::wstring& relative, const std::string& bytes) const;
    std::wstring MakeFolder(const std::wstring& relative) const;

private:
    std::wstring m_path;
};

// Reads a whole file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool PathExists(const std::wstring& path);
// The names of the files (not folders) in a folder, sorted; empty when it cannot be read.
std::vector<std::wstring> FileNamesIn(const std::wstring& folder);
// Removes a folder tree; true when nothing is left.
bool RemoveTree(const std::wstring& path);

}  // namespace Testing
