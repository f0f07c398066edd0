// The output file's system calls on POSIX systems.
#include "cli/aclcopy.h"
#include "cli/nativefile.h"
#include "cli/quote.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstring>
#include <fcntl.h>
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

sigset_t endingSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : endingSignals)
        sigaddset(&set, signal);
    return set;
}

// Holds the ending signals back while a name is created and recorded, so that no signal finds
// a file without its name recorded, or a recorded name that is not ours.
class SignalsHeld {
public:
    SignalsHeld()
    {
        const sigset_t set = endingSet();
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

std::error_code lastError()
{
    return {errno, std::generic_category()};
}

// Makes a file at name through make(), which says whether it did and leaves errno set where not.
// The name is recorded for removal by a signal before the file can exist.
template<class Make> std::error_code recordedWhileMade(const std::string &name, Make make)
{
    installCleanup();
    const SignalsHeld held;
    if (!recordPending(name))
        return std::make_error_code(std::errc::filename_too_long);
    if (make())
        return {};
    namePending = 0;
    return lastError();
}

// Follows name through its links to the file it finally names, which need not exist: a link that
// leads nowhere is followed to the name it holds, and that file is created.
std::error_code followLinks(std::string &current)
{
    for (int hops = 0;; ++hops) {
        struct stat st;
        if (lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode))
            return {};
        if (hops == 40)
            return std::make_error_code(std::errc::too_many_symbolic_link_levels);
        char link[PATH_MAX];
        const ssize_t length = readlink(current.c_str(), link, sizeof link);
        if (length < 0 || static_cast<std::size_t>(length) == sizeof link)
            return {};
        const std::string target(link, static_cast<std::size_t>(length));
        const auto slash = current.rfind('/');
        current = target.starts_with('/') || slash == std::string::npos
            ? target
            : current.substr(0, slash + 1) + target;
    }
}

} // namespace

struct NativeFile::State {
    int fd = -1;
    bool standardOutput = false;
    std::string target; // the name links finally lead to
    std::string temporary; // the replacement's name, once it has one
    bool unnamed = false; // the replacement has no name yet (O_TMPFILE)
    bool existed = false;
    struct stat old { }; // the target, where it existed
    bool holding = false; // the ending signals are held back
    sigset_t beforeHold {};

    // A signal that came meanwhile is acted on here, and ends the program as it would have.
    void releaseSignals()
    {
        if (holding)
            sigprocmask(SIG_SETMASK, &beforeHold, nullptr);
        holding = false;
    }

    std::string procName() const { return "/proc/self/fd/" + std::to_string(fd); }
};

NativeFile::NativeFile() : m_state(std::make_unique<State>()) { }

NativeFile::~NativeFile()
{
    if (!m_state->temporary.empty() || m_state->unnamed)
        dropReplacement();
    else if (m_state->fd >= 0 && !m_state->standardOutput)
        ::close(m_state->fd);
    m_state->releaseSignals();
}

void NativeFile::useStandardOutput()
{
    m_state->fd = STDOUT_FILENO;
    m_state->standardOutput = true;
}

// A terminal takes the bytes and shows them in its own encoding.
void NativeFile::takeEncodingOf(std::string_view) { }

// A pipe's, a terminal's or a device's name is kept as it is given: the links of /dev/stdout or
// /proc/self/fd/N may end at a name such as pipe:[N] that opens nothing, where the kernel opens
// the name itself.
std::error_code NativeFile::resolve(const std::string &name)
{
    m_state->target = name;
    struct stat st;
    if (stat(name.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return {};
    return followLinks(m_state->target);
}

std::error_code NativeFile::find(Found &found)
{
    State &s = *m_state;
    if (stat(s.target.c_str(), &s.old) != 0) {
        if (errno != ENOENT)
            return lastError();
        found = Found::Nothing;
        return {};
    }
    s.existed = true;
    struct stat own;
    if (fstat(STDOUT_FILENO, &own) == 0 && own.st_dev == s.old.st_dev && own.st_ino == s.old.st_ino)
        found = Found::OwnOutput;
    else if (S_ISDIR(s.old.st_mode))
        found = Found::Folder;
    else if (!S_ISREG(s.old.st_mode))
        found = Found::Stream;
    else
        found = s.old.st_nlink == 1 ? Found::Regular : Found::LinkedRegular;
    return {};
}

std::error_code NativeFile::mayWrite() const
{
    if (faccessat(AT_FDCWD, m_state->target.c_str(), W_OK, AT_EACCESS) != 0)
        return lastError();
    return {};
}

std::error_code NativeFile::openExisting()
{
    m_state->fd = open(m_state->target.c_str(), O_WRONLY | O_CLOEXEC);
    return m_state->fd < 0 ? lastError() : std::error_code();
}

std::error_code NativeFile::createUnnamed()
{
#ifdef O_TMPFILE
    State &s = *m_state;
    // A file without a name until it is complete: a kill, even SIGKILL, leaves nothing. It is
    // readable by its owner alone until it takes the target's identity.
    s.fd = open(folderOf(s.target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (s.fd >= 0) {
        if (access(s.procName().c_str(), F_OK) == 0) {
            s.unnamed = true;
            return {};
        }
        ::close(s.fd);
        s.fd = -1;
    } else if (errno != EISDIR && errno != EOPNOTSUPP && errno != EINVAL) {
        return lastError();
    }
#endif
    return std::make_error_code(std::errc::operation_not_supported);
}

std::error_code NativeFile::createNamed(const std::string &leaf)
{
    State &s = *m_state;
    const std::string name = folderOf(s.target) + "/" + leaf;
    const std::error_code error = recordedWhileMade(name, [&s, &name] {
        s.fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        return s.fd >= 0;
    });
    if (!error)
        s.temporary = name;
    return error;
}

std::error_code NativeFile::nameUnnamed(const std::string &leaf)
{
    State &s = *m_state;
    const std::string name = folderOf(s.target) + "/" + leaf;
    const std::error_code error = recordedWhileMade(name, [&s, &name] {
        return linkat(AT_FDCWD, s.procName().c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW)
            == 0;
    });
    if (!error) {
        s.temporary = name;
        s.unnamed = false;
    }
    return error;
}

bool NativeFile::unnamed() const
{
    return m_state->unnamed;
}

// The owner cannot be given where another user's file is writable to this one (in a sticky folder
// too, where this user could not replace it), nor an ACL or attribute that the file system or
// this user cannot set: the policy then rewrites in place.
std::error_code NativeFile::adoptIdentity()
{
    State &s = *m_state;
    if (!s.existed) {
        const mode_t mask = umask(0);
        umask(mask);
        return fchmod(s.fd, 0666 & ~mask) == 0 ? std::error_code() : lastError();
    }
    struct stat mine;
    if (fstat(s.fd, &mine) != 0)
        return lastError();
    if ((mine.st_uid != s.old.st_uid || mine.st_gid != s.old.st_gid)
        && fchown(s.fd, s.old.st_uid, s.old.st_gid) != 0)
        return lastError();
    // After the owner: a change of owner clears the set-user-ID and set-group-ID bits.
    if (fchmod(s.fd, s.old.st_mode & 07777) != 0)
        return lastError();
    // A target this user may not read cannot show its ACL and attributes whole: never replaced.
    const int from = open(s.target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (from < 0)
        return lastError();
    const std::error_code error = copyAclAndAttributes(s.target, from, s.fd);
    ::close(from);
    return error;
}

std::error_code NativeFile::putInPlace()
{
    State &s = *m_state;
    if (rename(s.temporary.c_str(), s.target.c_str()) != 0)
        return lastError();
    namePending = 0;
    s.temporary.clear();
    return {};
}

// A rename either happens or leaves both names as they were.
std::optional<NativeFile::Kept> NativeFile::kept() const
{
    return std::nullopt;
}

void NativeFile::dropReplacement() noexcept
{
    State &s = *m_state;
    if (s.fd >= 0)
        ::close(s.fd);
    s.fd = -1;
    if (!s.temporary.empty())
        unlink(s.temporary.c_str());
    namePending = 0;
    s.temporary.clear();
    s.unnamed = false;
    s.releaseSignals();
}

void NativeFile::holdEndingSignals()
{
    State &s = *m_state;
    if (s.holding)
        return;
    const sigset_t set = endingSet();
    s.holding = sigprocmask(SIG_BLOCK, &set, &s.beforeHold) == 0;
}

std::error_code NativeFile::reserve(std::uint64_t bytes)
{
    const int error = posix_fallocate(m_state->fd, 0, static_cast<off_t>(bytes));
    if (error != 0 && error != EOPNOTSUPP && error != EINVAL)
        return {error, std::generic_category()};
    return {};
}

std::error_code NativeFile::write(const char *bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t done = ::write(m_state->fd, bytes, size);
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        bytes += done;
        size -= static_cast<std::size_t>(done);
    }
    return {};
}

std::error_code NativeFile::truncate(std::uint64_t size)
{
    return ftruncate(m_state->fd, static_cast<off_t>(size)) == 0 ? std::error_code() : lastError();
}

// Standard output is closed too: a late failure to write it is reported, not lost.
std::error_code NativeFile::close()
{
    const int fd = m_state->fd;
    m_state->fd = -1;
    const std::error_code error = ::close(fd) == 0 ? std::error_code() : lastError();
    m_state->releaseSignals();
    return error;
}

bool isDiskFull(std::error_code error)
{
    return error.category() == std::generic_category()
        && (error.value() == ENOSPC || error.value() == EDQUOT);
}

std::string describe(std::error_code error)
{
    return reason(error.value());
}

} // namespace zanvo::cli
