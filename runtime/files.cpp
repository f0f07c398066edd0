// Files named in UTF-8.
#include "runtime/files.h"

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zanvo {

#ifdef _WIN32

namespace {

// Windows takes names in UTF-16; its ANSI calls could not spell most of them.
std::wstring wide(const std::string &name)
{
    const int size
        = MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name.data(), static_cast<int>(name.size()), out.data(), size);
    return out;
}

} // namespace

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
