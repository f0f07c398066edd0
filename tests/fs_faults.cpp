// Preloaded into a test's child process: no unnamed temporary files, as on NFS, FAT and every
// macOS file system, so that the named fallback is tested here too.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

using OpenFunction = int (*)(const char *, int, ...);

int forward(const char *name, const char *path, int flags, va_list rest)
{
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
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
