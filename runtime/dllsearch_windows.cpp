// DLLs looked for in the system's folder only.
#include "runtime/dllsearch.h"

#include <windows.h>

namespace zanvo {

void searchDllsInTheSystemFolderOnly()
{
    // Windows 7 has it only with its update KB2533623, so it is looked up; without it, the
    // working folder at least leaves the search.
    constexpr DWORD systemFolderOnly = 0x00000800; // LOAD_LIBRARY_SEARCH_SYSTEM32
    using SetDefaultDllDirectories = BOOL(WINAPI *)(DWORD);
    const FARPROC found
        = GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories");
    const auto setDefault
        = reinterpret_cast<SetDefaultDllDirectories>(reinterpret_cast<void (*)()>(found));
    if (!setDefault || !setDefault(systemFolderOnly))
        SetDllDirectoryW(L"");
}

} // namespace zanvo
