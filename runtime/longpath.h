// Windows file names of any length. Windows' calls refuse a name of 260 characters or more
// unless it is given in its extended form, \\?\ and the full path, which the system then takes
// as it stands: no relative parts, no forward slashes.
#pragma once

#include <string>
#include <string_view>

namespace zanvo {

// The extended form of a full path: C:\folder becomes \\?\C:\folder and \\server\share
// \\?\UNC\server\share; a name already in a device form (\\?\, \\.\) stays as it is.
std::wstring extendedPath(std::wstring_view fullPath);

#ifdef _WIN32
// name, in UTF-8, as Windows' calls take it at any length: made full
// against the working folder, then extended. Empty where the system cannot make it full.
std::wstring windowsName(const std::string &name);
#endif

} // namespace zanvo
