// Files named in UTF-8 on POSIX, where a name is bytes.
#include "runtime/files.h"

#include <sys/stat.h>

namespace zanvo {

FileKind fileKind(const std::string &name)
{
    struct stat info;
    if (stat(name.c_str(), &info) != 0)
        return FileKind::Missing;
    return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

std::FILE *openForReading(const std::string &name)
{
    return std::fopen(name.c_str(), "rb");
}

} // namespace zanvo
