// Access control lists and extended attributes copied with libacl and libattr, as cp -a does.
#include "cli/aclcopy.h"

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <cerrno>

namespace zanvo::cli {

std::error_code copyAclAndAttributes(const std::string &fromName, int from, int to)
{
    // perm_copy_fd sets the mode as well, and a file system without ACLs is no failure while the
    // file has none; attr_copy_fd leaves the attributes that hold the ACL to it.
    errno = 0;
    if (perm_copy_fd(fromName.c_str(), from, "replacement", to, nullptr) != 0
        || attr_copy_fd(fromName.c_str(), from, "replacement", to, nullptr, nullptr) != 0)
        return {errno != 0 ? errno : EPERM, std::generic_category()};
    return {};
}

} // namespace zanvo::cli
