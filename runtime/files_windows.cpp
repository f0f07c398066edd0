// Files named in UTF-8 on Windows: each name goes to Windows full and extended, so that a name of
// any length is found, as the command line's are.
#include "runtime/files.h"
#include "runtime/longpath.h"
#include "runtime/windowscalls.h"

namespace zanvo {

FileKind fileKind(const std::string &name)
{
    const DWORD attributes = windows::fileAttributes(windowsName(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileKind::Missing;
    return attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE) ? FileKind::Other
                                                                           : FileKind::Regular;
}

std::FILE *openForReading(const std::string &name)
{
    return windows::openFile(windowsName(name).c_str(), L"rb");
}

} // namespace zanvo
