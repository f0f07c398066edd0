// Windows file names of any length.
#include "runtime/longpath.h"

#ifdef _WIN32
#include "runtime/utf16.h"

#include <windows.h>
#endif

namespace zanvo {

std::wstring extendedPath(std::wstring_view fullPath)
{
    if (fullPath.starts_with(L"\\\\?\\") || fullPath.starts_with(L"\\\\.\\"))
        return std::wstring(fullPath);
    if (fullPath.starts_with(L"\\\\"))
        return L"\\\\?\\UNC\\" + std::wstring(fullPath.substr(2));
    return L"\\\\?\\" + std::wstring(fullPath);
}

#ifdef _WIN32

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

#endif

} // namespace zanvo
