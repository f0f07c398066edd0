// Preloaded into a test's child process: no unnamed temporary files, as on NFS, FAT and every
// macOS file system, so that the named fallback is tested here too. With ZANVO_TEST_STOP_MIDWAY
// set, the process also stops itself after its first write to a file, so that a test can signal
// it in the middle of its output however fast it writes, then let it go on.
#include <cerrno>
#include <csignal>
#include <cstdarg>
#include <cstdlib>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

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

extern "C" ssize_t write(int fd, const void *bytes, size_t size)
{
    using WriteFunction = ssize_t (*)(int, const void *, size_t);
    static const auto real = reinterpret_cast<WriteFunction>(dlsym(RTLD_NEXT, "write"));
    static bool stopAhead = std::getenv("ZANVO_TEST_STOP_MIDWAY") != nullptr;
    const ssize_t done = real(fd, bytes, size);
    if (stopAhead && fd > STDERR_FILENO && done > 0) {
        stopAhead = false;
        raise(SIGSTOP);
    }
    return done;
}
