// The clipboard keeper's X11 half: whether a clipboard manager runs, asked of X itself, and the
// keeper started as a process of its own that the text reaches through a pipe.
#include "window/qt/clipboardkeeper.h"
#include "window/qt/keeperprocess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>
#include <xcb/xcb.h>

extern char **environ;

namespace zanvo {

bool clipboardManagerRuns()
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *c = x11->connection();
    static const char name[] = "CLIPBOARD_MANAGER";
    auto *atom = xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 1, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr);
    if (!atom)
        return false;
    bool runs = false;
    if (atom->atom != XCB_NONE) {
        auto *owner
            = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
        runs = owner && owner->owner != XCB_NONE;
        std::free(owner);
    }
    std::free(atom);
    return runs;
}

bool startKeeper(const QByteArray &text, int handOverMs)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[0], STDIN_FILENO);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    const QByteArray program = QFile::encodeName(QCoreApplication::applicationFilePath());
    char *arguments[] = {const_cast<char *>(program.constData()),
                         const_cast<char *>(clipboardKeeperArgument), nullptr};
    pid_t pid;
    const bool started
        = posix_spawn(&pid, program.constData(), &actions, &attributes, arguments, environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    close(pipeEnds[0]);

    // A keeper that dies early must not take this program down with SIGPIPE, nor one that
    // stops reading hold it for ever.
    std::signal(SIGPIPE, SIG_IGN);
    fcntl(pipeEnds[1], F_SETFL, O_NONBLOCK);
    const char *at = text.constData();
    qsizetype left = started ? text.size() : 0;
    QElapsedTimer clock;
    clock.start();
    while (left > 0) {
        pollfd ready {pipeEnds[1], POLLOUT, 0};
        const qint64 remaining = handOverMs - clock.elapsed();
        if (remaining <= 0 || poll(&ready, 1, static_cast<int>(remaining)) < 0)
            break;
        const ssize_t done = write(pipeEnds[1], at, static_cast<std::size_t>(left));
        if (done < 0 && errno != EAGAIN && errno != EINTR)
            break;
        if (done > 0) {
            at += done;
            left -= done;
        }
    }
    close(pipeEnds[1]);
    return started && left == 0;
}

bool inputIsPipe()
{
    struct stat input;
    return fstat(STDIN_FILENO, &input) == 0 && S_ISFIFO(input.st_mode);
}

} // namespace zanvo
