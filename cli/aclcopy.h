// What a replacement takes from the file it replaces beyond its owner and mode, on POSIX
// systems: the access control list and the extended attributes (security labels among them).
// A replacement without them could be more open than the file was.
#pragma once

#include <string>
#include <system_error>

namespace zanvo::cli {

// Gives the file open as to the access control list and extended attributes of the file open as
// from (named fromName, for messages), or fails where any of them cannot be given: the file
// system takes none, or the process may not set one.
std::error_code copyAclAndAttributes(const std::string &fromName, int from, int to);

} // namespace zanvo::cli
