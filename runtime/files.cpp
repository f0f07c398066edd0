// Files named in UTF-8.
#include "runtime/files.h"

#include <sys/stat.h>

#ifdef _WIN32
#include "runtime/utf16.h"

#include <windows.h>
#endif

namespace zanvo {

#ifdef _WIN32

FileKind fileKind(const std::string &name)
{
    struct _stat64 info;
    if (_wstat64(wide(name).c_str(), &info) != 0)
        return FileKind::Missing;
    return (info.st_mode & _S_IFMT) == _S_IFREG ? FileKind::Regular : FileKind::Other;
}

OpenFile openForReading(const std::string &name)
{
    return {_wfopen(wide(name).c_str(), L"rb"), std::fclose};
}

#else

FileKind fileKind(const std::string &name)
{
    struct stat info;
    if (stat(name.c_str(), &info) != 0)
        return FileKind::Missing;
    return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

OpenFile openForReading(const std::string &name)
{
    return {std::fopen(name.c_str(), "rb"), std::fclose};
}

#endif

} // namespace zanvo
