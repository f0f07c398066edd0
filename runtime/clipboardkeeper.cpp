// Handing the clipboard over at exit on X11.
#include "runtime/clipboardkeeper.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTemporaryFile>
#include <QTimer>

#ifdef ZANVO_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#endif

namespace zanvo {

namespace {

// How long the program waits at exit for the keeper to take the clipboard.
constexpr int handOverMs = 3000;

bool clipboardManagerRuns()
{
#ifdef ZANVO_HAVE_XCB
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
#else
    // Built without the X11 headers, the question cannot be asked; leaving the clipboard to Qt
    // is the choice that never leaves a keeper running beside a manager.
    return true;
#endif
}

} // namespace

void keepClipboardAfterExit()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard() || clipboardManagerRuns())
        return;

    QTemporaryFile file;
    file.setAutoRemove(false);
    if (!file.open() || file.write(clipboard->text().toUtf8()) < 0 || !file.flush()) {
        file.remove();
        return;
    }
    file.close();

    QEventLoop loop;
    QObject::connect(clipboard, &QClipboard::dataChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(handOverMs, &loop, &QEventLoop::quit);
    if (!QProcess::startDetached(QCoreApplication::applicationFilePath(),
                                 {QString::fromLatin1(clipboardKeeperArgument), file.fileName()})) {
        file.remove();
        return;
    }
    loop.exec();
}

int runClipboardKeeper(QGuiApplication &app, const QString &file)
{
    QFile source(file);
    if (!source.open(QIODevice::ReadOnly))
        return 1;
    const QString text = QString::fromUtf8(source.readAll());
    source.remove();

    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace zanvo
