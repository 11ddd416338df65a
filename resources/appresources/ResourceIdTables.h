#pragma once
// The numbered names a program registers with its resource manager: each
// program (the main program, the Updater) hands its own tables to the holder.
#include <cstddef>

namespace AppResources {

struct ResourceIdEntry {
    int id;
    const wchar_t* name;  // the resource name; a string's enumerator is "StringID_" + name
};

// Entries in ascending id order; ids not listed are gaps and stay unnamed.
struct ResourceIdTables {
    const ResourceIdEntry* filePaths;
    std::size_t filePathCount;
    const ResourceIdEntry* strings;
    std::size_t stringCount;
};

}  // namespace AppResources
