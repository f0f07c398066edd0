// Access control lists and extended attributes copied with the system's copyfile.
#include "cli/aclcopy.h"

#include <cerrno>
#include <copyfile.h>

namespace zanvo::cli {

std::error_code copyAclAndAttributes(const std::string &, int from, int to)
{
    if (fcopyfile(from, to, nullptr, COPYFILE_ACL | COPYFILE_XATTR) != 0)
        return {errno != 0 ? errno : EPERM, std::generic_category()};
    return {};
}

} // namespace zanvo::cli
