// Windows names made full and extended.
#include "runtime/longpath.h"
#include "runtime/utf16.h"

#include <windows.h>

namespace zanvo {

std::wstring windowsName(const std::string &name)
{
    const std::wstring given = wide(name);
    // The full path's length is known only by asking; the working folder may change between
    // the two calls, so the second is checked as well.
    for (;;) {
        const DWORD needed = GetFullPathNameW(given.c_str(), 0, nullptr, nullptr);
        if (needed == 0)
            return {};
        std::wstring full(needed, L'\0');
        const DWORD length = GetFullPathNameW(given.c_str(), needed, full.data(), nullptr);
        if (length == 0)
            return {};
        if (length < needed) {
            full.resize(length);
            return extendedPath(full);
        }
    }
}

} // namespace zanvo
