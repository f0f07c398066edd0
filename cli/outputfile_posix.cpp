// The output file on POSIX systems.
#include "cli/error.h"
#include "cli/outputfile.h"
#include "cli/quote.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace zanvo::cli {

namespace {

// Every signal whose default action ends the process and that a handler can catch: should one
// end the run while a temporary file has a name, the name goes with it.
constexpr int endingSignals[] = {SIGHUP,  SIGINT,  SIGQUIT,   SIGTERM, SIGPIPE, SIGXFSZ,
                                 SIGXCPU, SIGALRM, SIGVTALRM, SIGUSR1, SIGUSR2};

char pendingName[PATH_MAX];
volatile std::sig_atomic_t namePending = 0;

extern "C" void removePendingAndDie(int signal)
{
    if (namePending)
        unlink(pendingName);
    // The signal is blocked while its handler runs; once the handler returns, it arrives again
    // with its default action and ends the process as it would have.
    struct sigaction fallback { };
    fallback.sa_handler = SIG_DFL;
    sigaction(signal, &fallback, nullptr);
    raise(signal);
}

// Handlers go only on signals that were not ignored at start: a run under nohup, or in a
// script's background job, must keep ignoring what it was told to ignore.
void installCleanup()
{
    static bool installed = false;
    if (installed)
        return;
    installed = true;
    for (const int signal : endingSignals) {
        struct sigaction old { };
        if (sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction cleanup { };
        cleanup.sa_handler = removePendingAndDie;
        sigemptyset(&cleanup.sa_mask);
        for (const int other : endingSignals)
            sigaddset(&cleanup.sa_mask, other);
        sigaction(signal, &cleanup, nullptr);
    }
}

// Holds the ending signals back while a name is created and recorded, so that no signal finds
// a file without its name recorded, or a recorded name that is not ours.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t set;
        sigemptyset(&set);
        for (const int signal : endingSignals)
            sigaddset(&set, signal);
        sigprocmask(SIG_BLOCK, &set, &m_old);
    }
    ~SignalsHeld() { sigprocmask(SIG_SETMASK, &m_old, nullptr); }
    SignalsHeld(const SignalsHeld &) = delete;
    SignalsHeld &operator=(const SignalsHeld &) = delete;

private:
    sigset_t m_old;
};

// Records name for removal by a signal; returns false where it is too long to record.
bool recordPending(const std::string &name)
{
    if (name.size() >= sizeof pendingName)
        return false;
    std::memcpy(pendingName, name.c_str(), name.size() + 1);
    namePending = 1;
    return true;
}

std::string folderOf(const std::string &name)
{
    const auto slash = name.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : name.substr(0, slash);
}

// A fresh name in folder. It is short whatever the target's name, which may already be as long
// as a name can be.
std::string temporaryName(const std::string &folder)
{
    static std::random_device device;
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "/.zanvo-scramble-%08x", device());
    return folder + suffix;
}

// Makes a file under a fresh name in folder through make(name), which says whether it did and
// leaves errno set where not. The name is recorded for removal by a signal before the file can
// exist. Returns the name, or an empty one with errno set.
template<class Make> std::string underFreshName(const std::string &folder, Make make)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const SignalsHeld held;
        std::string name = temporaryName(folder);
        if (!recordPending(name)) {
            errno = ENAMETOOLONG;
            return {};
        }
        if (make(name))
            return name;
        namePending = 0;
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}

int writeAll(int fd, const char *bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(fd, bytes, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
    return 0;
}

} // namespace

struct OutputFile::Native {
    int fd = -1;
    std::string target; // the name links finally lead to
    std::string temporary; // the replacement's name, once it has one
    bool unnamed = false; // the replacement has no name yet (O_TMPFILE)
    std::uint64_t size = 0; // bytes written

    // Creates the replacement in the target's folder, readable by its owner alone until it takes
    // the target's identity. Returns false with errno set where the folder takes no new file.
    bool createReplacement()
    {
        const std::string folder = folderOf(target);
        installCleanup();
#ifdef O_TMPFILE
        // A file without a name until it is complete: a kill, even SIGKILL, leaves nothing.
        fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (fd >= 0) {
            if (access(procName().c_str(), F_OK) == 0) {
                unnamed = true;
                return true;
            }
            close(fd);
        } else if (errno != EISDIR && errno != EOPNOTSUPP && errno != EINVAL) {
            return false;
        }
#endif
        temporary = underFreshName(folder, [this](const std::string &name) {
            fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            return fd >= 0;
        });
        return !temporary.empty();
    }

    std::string procName() const
    {
        return "/proc/self/fd/" + std::to_string(fd);
    }

    // Gives the unnamed replacement a name in the target's folder.
    int nameReplacement()
    {
        const std::string name = underFreshName(folderOf(target), [this](const std::string &fresh) {
            return linkat(AT_FDCWD, procName().c_str(), AT_FDCWD, fresh.c_str(), AT_SYMLINK_FOLLOW)
                == 0;
        });
        if (name.empty())
            return errno;
        temporary = name;
        unnamed = false;
        return 0;
    }

    // Gives the replacement the target's owner, group and permissions; false where the owner
    // cannot be given, as when another user's file is writable to this one (in a sticky folder
    // too, where this user could not replace it).
    bool takeIdentity(const struct stat &old) const
    {
        struct stat mine;
        if (fstat(fd, &mine) != 0)
            return false;
        if ((mine.st_uid != old.st_uid || mine.st_gid != old.st_gid)
            && fchown(fd, old.st_uid, old.st_gid) != 0)
            return false;
        // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
        return fchmod(fd, old.st_mode & 07777) == 0;
    }

    void dropReplacement() noexcept
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
        if (!temporary.empty())
            unlink(temporary.c_str());
        namePending = 0;
        temporary.clear();
        unnamed = false;
    }
};

// Follows name through its links to the file it finally names, which need not exist: a link that
// leads nowhere is followed to the name it holds, and that file is created.
static std::string finalName(const std::string &name, const std::string &shown)
{
    std::string current = name;
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        if (hops == 40)
            throw Error("cannot open " + shown + " for writing: " + reason(ELOOP));
        char link[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), link, sizeof link);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof link)
            return current;
        const std::string target(link, static_cast<std::size_t>(length));
        const auto slash = current.rfind('/');
        current = target.starts_with('/') || slash == std::string::npos
            ? target
            : current.substr(0, slash + 1) + target;
    }
}

OutputFile::OutputFile(const std::optional<std::string> &path)
    : m_native(std::make_unique<Native>())
{
    Native &p = *m_native;
    if (!path) {
        m_shown = "standard output";
        p.fd = STDOUT_FILENO;
        return;
    }
    m_shown = quoteName(*path);
    p.target = finalName(*path, m_shown);
    const std::string opening = "cannot open " + m_shown + " for writing";
    struct stat st;
    if (stat(p.target.c_str(), &st) != 0) {
        if (errno != ENOENT)
            fail(opening, errno);
        m_method = Method::Replace;
        if (!p.createReplacement())
            fail(opening, errno);
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(p.fd, 0666 & ~mask) != 0) {
            const int error = errno;
            p.dropReplacement();
            fail(opening, error);
        }
        return;
    }
    if (S_ISDIR(st.st_mode))
        fail(opening, EISDIR);
    if (!S_ISREG(st.st_mode)) {
        // A device or a pipe can only be written to, never replaced: /dev/null stays a device.
        p.fd = open(p.target.c_str(), O_WRONLY | O_CLOEXEC);
        if (p.fd < 0)
            fail(opening, errno);
        return;
    }
    // A file its owner protected from writing is not replaced behind the protection.
    if (faccessat(AT_FDCWD, p.target.c_str(), W_OK, AT_EACCESS) != 0)
        fail(opening, errno);
    if (st.st_nlink == 1 && p.createReplacement()) {
        if (p.takeIdentity(st)) {
            m_method = Method::Replace;
            return;
        }
        p.dropReplacement();
    }
    m_method = Method::InPlace;
    p.fd = open(p.target.c_str(), O_WRONLY | O_CLOEXEC);
    if (p.fd < 0)
        fail(opening, errno);
}

OutputFile::~OutputFile()
{
    discard();
}

void OutputFile::discard() noexcept
{
    Native &p = *m_native;
    if (m_committed || p.fd == STDOUT_FILENO)
        return;
    if (m_method == Method::Replace)
        p.dropReplacement();
    else if (p.fd >= 0)
        close(p.fd);
    p.fd = -1;
}

void OutputFile::fail(const std::string &what, int error) const
{
    throw Error(what + ": " + reason(error));
}

void OutputFile::reserve(std::uint64_t bytes)
{
    if (m_method != Method::InPlace || bytes == 0)
        return;
    const int error = posix_fallocate(m_native->fd, 0, static_cast<off_t>(bytes));
    // A file system that cannot reserve space is written without.
    if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
        fail("cannot reserve space for " + m_shown, error);
}

void OutputFile::write(const char *bytes, std::size_t size)
{
    if (const int error = writeAll(m_native->fd, bytes, size))
        fail("error writing " + m_shown, error);
    m_native->size += size;
}

void OutputFile::commit()
{
    Native &p = *m_native;
    if (m_method == Method::InPlace && ftruncate(p.fd, static_cast<off_t>(p.size)) != 0) {
        const int error = errno;
        fail("error writing " + m_shown, error);
    }
    if (m_method == Method::Replace && p.unnamed) {
        if (const int error = p.nameReplacement()) {
            p.dropReplacement();
            fail("cannot replace " + m_shown, error);
        }
    }
    // Some file systems report a failed write only when the file is closed.
    const int fd = p.fd;
    p.fd = -1;
    if (close(fd) != 0) {
        const int error = errno;
        if (m_method == Method::Replace)
            p.dropReplacement();
        fail("error writing " + m_shown, error);
    }
    if (m_method == Method::Replace) {
        if (rename(p.temporary.c_str(), p.target.c_str()) != 0) {
            const int error = errno;
            p.dropReplacement();
            fail("cannot replace " + m_shown, error);
        }
        namePending = 0;
    }
    m_committed = true;
}

} // namespace zanvo::cli
