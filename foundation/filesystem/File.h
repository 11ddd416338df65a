#pragma once
// A file path and what is done with the file: names and attributes, whole
// reads and writes of bytes and text, shell operations, the version block.
#include "foundation/strings/LiteString.h"
#include "foundation/strings/StringAlgorithms.h"
#include "foundation/system/Process.h"

#include <windows.h>

#include <string>
#include <vector>

namespace FileSystem {

class Folder;
class PEFile;

class File {
public:
    File() = default;
    explicit File(const wlitestring& path) : m_path(path.str()) {}

    const std::wstring& GetPath() const noexcept { return m_path; }
    void SetPath(const wlitestring& path) { m_path = path.str(); }

    // Parts of the path text.
    Folder GetFolder() const;
    std::wstring GetFolderPath() const;   // the folder without its trailing backslash
    std::wstring GetName() const;         // file name, no trailing backslash
    std::wstring GetExtension() const;    // without its dot; "" for none or a final dot
    std::wstring GetTitle() const;        // the name up to its extension

    // Files and folders alike.
    bool Exists() const;
    bool HasAttributes(DWORD mask) const;
    ULONGLONG GetSize() const;  // 0 when unknown

    PEFile GetVersionInfo() const;
    // "FileVersion" of the version block with every "," made a ".".
    std::wstring GetVersionString() const;

    // Through the program's shell door (System::ShellExecuteCall).
    bool ShellOpen(const wlitestring& parameters, int showCommand) const;
    // The started process, or an empty one (reported) when nothing started.
    System::Process ShellExecuteProcess(const wlitestring& parameters, int showCommand) const;

    // Shell move and delete; they serve folders too.
    bool MoveTo(const wlitestring& destination) const;
    bool Delete(bool allowUndo) const;

    // The whole file. False, with an empty list, when it cannot be opened,
    // its size cannot be read, it is too large to hold, or fewer bytes than
    // its size can be read.
    bool ReadAll(std::vector<BYTE>& bytes) const;
    // unicode: UTF-16 after an optional FF FE; else UTF-8 up to a zero byte.
    bool ReadText(std::wstring& text, bool unicode) const;
    std::wstring GetText(bool unicode) const;  // "" when it cannot be read

    // Writes (or appends) the bytes; a read-only file is written all the same
    // and keeps its attributes.
    bool WriteAll(const void* bytes, DWORD count, bool append) const;
    // unicode: FF FE first (unless appending), then UTF-16; else UTF-8, no mark.
    bool WriteText(const wlitestring& text, bool append, bool unicode) const;
    // The UTF-8 text with every pair's replacements, written to `targetPath`
    // (this file when empty). Nothing is written when the file cannot be read.
    bool ReplaceText(const STLHelpers::ReplacementPairs& pairs, const wlitestring& targetPath) const;

private:
    std::wstring m_path;
};

// A file, not a folder, exists at the path.
bool IsExistingFile(const wlitestring& path);

}  // namespace FileSystem

#include "foundation/filesystem/Folder.h"
#include "foundation/filesystem/PEFile.h"
