// Windows' calls made again while another program holds a file for a moment.
#pragma once

#include <windows.h>

namespace zanvo::cli {

// Whether error is another program's hold on a file: a sharing or lock violation.
inline bool heldByAnotherProgram(DWORD error)
{
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION;
}

// An antivirus, an indexer or a sync client opens a new file, or the one it replaces, for a moment
// right after it is closed: a call refused with a sharing violation or denied access meanwhile
// is made again for about two seconds. So is a replace that left both files as they were.
template<class Call> bool patiently(Call call)
{
    constexpr int attempts = 20;
    for (int attempt = 1;; ++attempt) {
        if (call())
            return true;
        const DWORD error = GetLastError();
        const bool passing = heldByAnotherProgram(error) || error == ERROR_ACCESS_DENIED
            || error == ERROR_UNABLE_TO_REMOVE_REPLACED
            || error == ERROR_UNABLE_TO_MOVE_REPLACEMENT;
        if (!passing || attempt == attempts)
            return false;
        Sleep(100);
    }
}

} // namespace zanvo::cli
