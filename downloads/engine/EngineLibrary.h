#pragma once
// The binding of the capture-engine library. Before the program's entry the
// library beside the executable is loaded and its one export asked for the
// library object, which is held until the process ends. A missing library,
// export or object leaves the binding empty: the application's engine
// accessor then reports instead of crashing on the first engine call.
//
// Thread: bound during static initialisation; read on the GUI thread.
#include "engine/KavennaEngine.h"
#include "foundation/strings/LiteString.h"

#include <string>

#include <boost/shared_ptr.hpp>

namespace KavennaEngine {

// The bound library object; null when binding failed.
Library* GetBoundLibrary();

// Loads the library at `path`, asks its export for the object and holds it
// (replacing any held one). False, with the binding empty, on any failure.
bool BindLibrary(const wlitestring& path);

// The library's path beside the executable.
std::wstring GetDefaultLibraryPath();

}  // namespace KavennaEngine
