// Preloaded into a test's child process, file system conditions a test cannot make otherwise:
// no unnamed temporary files, as on NFS, FAT and every macOS file system, so that the named
// fallback is tested here too; and, where ZANVO_TEST_FOLDER_FULL is set, a folder that takes no
// new file (no inode left), so that the rewrite in place is.
#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

using OpenFunction = int (*)(const char *, int, ...);

int forward(const char *name, const char *path, int flags, va_list rest)
{
    static const bool full = std::getenv("ZANVO_TEST_FOLDER_FULL") != nullptr;
    if ((flags & O_TMPFILE) == O_TMPFILE || (full && (flags & O_CREAT) && (flags & O_EXCL))) {
        errno = full ? ENOSPC : EOPNOTSUPP;
        return -1;
    }
    const mode_t mode = (flags & (O_CREAT | O_TMPFILE)) ? va_arg(rest, mode_t) : 0;
    auto real = reinterpret_cast<OpenFunction>(dlsym(RTLD_NEXT, name));
    return real(path, flags, mode);
}

} // namespace

extern "C" int open(const char *path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int fd = forward("open", path, flags, rest);
    va_end(rest);
    return fd;
}

extern "C" int open64(const char *path, int flags, ...)
{
    va_list rest;
    va_start(rest, flags);
    const int fd = forward("open64", path, flags, rest);
    va_end(rest);
    return fd;
}
