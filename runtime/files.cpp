// Files named in UTF-8.
#include "runtime/files.h"

#include <cstdio>
#include <memory>
#include <sys/stat.h>

#ifdef _WIN32
#include "runtime/longpath.h"
#include "runtime/windowscalls.h"
#endif

namespace zanvo {

#ifdef _WIN32

// Names go to Windows full and extended, so that a name of any length is found, as the command
// line's are.
FileKind fileKind(const std::string &name)
{
    const DWORD attributes = windows::fileAttributes(windowsName(name).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FileKind::Missing;
    return attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE) ? FileKind::Other
                                                                           : FileKind::Regular;
}

namespace {

std::FILE *openForReading(const std::string &name)
{
    return windows::openFile(windowsName(name).c_str(), L"rb");
}

} // namespace

#else

FileKind fileKind(const std::string &name)
{
    struct stat info;
    if (stat(name.c_str(), &info) != 0)
        return FileKind::Missing;
    return S_ISREG(info.st_mode) ? FileKind::Regular : FileKind::Other;
}

namespace {

std::FILE *openForReading(const std::string &name)
{
    return std::fopen(name.c_str(), "rb");
}

} // namespace

#endif

FileRead readRegularFile(const std::string &name, std::size_t limit, std::string &bytes)
{
    switch (fileKind(name)) {
    case FileKind::Missing:
        return FileRead::Missing;
    case FileKind::Other:
        return FileRead::NotRegular;
    case FileKind::Regular:
        break;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> in(openForReading(name), std::fclose);
    if (!in)
        return FileRead::Unreadable;
    bytes.clear();
    // One piece more than the limit allows shows a file that is larger.
    constexpr std::size_t piece = 1 << 20;
    while (!std::feof(in.get()) && bytes.size() <= limit) {
        const std::size_t had = bytes.size();
        bytes.resize(had + piece);
        bytes.resize(had + std::fread(bytes.data() + had, 1, piece, in.get()));
        if (std::ferror(in.get()))
            return FileRead::Unreadable;
    }
    return bytes.size() > limit ? FileRead::TooLarge : FileRead::Read;
}

} // namespace zanvo
