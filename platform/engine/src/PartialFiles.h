#pragma once
// The partial files that runs are writing, noted in the current user's
// registry with the process that writes them, so that a later start can
// remove those whose writer ended without removing them (a program killed
// mid-download). Nothing else in a folder is ever taken for a partial file.
//
// Thread: any; the registry serialises the notes.
#include <functional>
#include <string>

namespace KavennaEngine {
namespace PartialFiles {

// Under HKEY_CURRENT_USER: one value per file, named by its path.
extern const wchar_t kKeyPath[];

void Note(const std::wstring& path);
void Forget(const std::wstring& path);
// Calls `remove` for every noted file whose process has ended and forgets
// those it reports gone; a file that stays (held open by a player, say) is
// tried again at the next start.
void RemoveOrphans(const std::function<bool(const std::wstring& path)>& remove);

}  // namespace PartialFiles
}  // namespace KavennaEngine
