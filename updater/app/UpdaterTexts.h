#pragma once
// The Updater's user-interface texts (ids of AppResources::Updater::StringID).
//
//   SetWindowText(UpdaterTexts::Get(StringID_Close).c_str());
//
// Texts come from the resource manager. When it cannot be set up (no
// resource folder beside the program, a broken metadata file) the texts
// built into the program's string table stand in, so that a damaged install
// still updates instead of stopping at its first text.
#include <string>

namespace UpdaterTexts {

// Text `id` as stored, placeholders unexpanded; "" when neither source has it.
std::wstring Get(int id);

}  // namespace UpdaterTexts
