#pragma once
// VideosFolderCheck: whether videos can be saved in a folder. It makes every
// missing level of the folder and proves that a new file can be written
// there, so that a bad folder is told once (at start, or when the settings
// dialog confirms it) instead of failing every download without a reason.
//
//   const VideosFolderCheck check = VideosFolderCheck::Run(folder);
//   if (!check.IsUsable()) show(check.Describe(StringID_VideosFolderAtStart));
//
// Any thread; it touches only the file system and, for the message, the
// resource manager.
#include <windows.h>

#include <string>

class VideosFolderCheck {
public:
    enum Problem {
        None,
        TooLong,            // longer than a folder Windows can make
        InvalidCharacters,  // characters Windows allows in no name
        NoDrive,            // the drive letter names no drive
        NotCreated,         // a missing level could not be made
        NotWritable,        // it exists, but no file can be made in it
    };

    // The longest folder path CreateDirectoryW takes without the "\\?\" form.
    static const std::size_t kMaxFolderLength = MAX_PATH - 12 - 1;

    // Makes the missing levels and writes (and removes) a probe file. A
    // failure removes the levels this call made: nothing is left behind.
    static VideosFolderCheck Run(const std::wstring& folder);

    bool IsUsable() const { return m_problem == None; }
    Problem GetProblem() const { return m_problem; }
    // The system's error of NotCreated and NotWritable, else 0.
    DWORD GetError() const { return m_error; }

    // What went wrong, naming the folder, in the current language, followed
    // by the text `adviceStringId` (what the user can do where it is shown).
    // Empty when the folder is usable.
    std::wstring Describe(int adviceStringId) const;

private:
    VideosFolderCheck(const std::wstring& folder, Problem problem, DWORD error, std::wstring detail)
        : m_folder(folder), m_problem(problem), m_error(error), m_detail(std::move(detail)) {}

    std::wstring m_folder;
    Problem m_problem;
    DWORD m_error;
    std::wstring m_detail;  // the length of TooLong, the characters of InvalidCharacters
};
