// Where Windows looks for the DLLs that load by name once the program runs.
#pragma once

namespace zanvo {

// Makes Windows look for DLLs loaded by name from now on (by themes, input methods, screen
// readers' hooks, and by what those load in turn) in its own folder only, never beside the
// program: a program unpacked in Downloads shares that folder with whatever else was downloaded.
// Called first thing; elsewhere than on Windows there is nothing to do.
#ifdef _WIN32
void searchDllsInTheSystemFolderOnly();
#else
inline void searchDllsInTheSystemFolderOnly() { }
#endif

} // namespace zanvo
