// Handing the clipboard over at exit on X11.
#include "window/qt/clipboardkeeper.h"

#include "window/qt/keeperprocess.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QTimer>

namespace zanvo {

namespace {

// How long the program waits at exit for the keeper to take the clipboard.
constexpr int handOverMs = 3000;

} // namespace

void keepClipboardAfterExit()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return;
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard() || clipboardManagerRuns())
        return;

    QEventLoop loop;
    QObject::connect(clipboard, &QClipboard::dataChanged, &loop, &QEventLoop::quit);
    QTimer::singleShot(handOverMs, &loop, &QEventLoop::quit);
    if (startKeeper(clipboard->text().toUtf8(), handOverMs))
        loop.exec();
}

int runClipboardKeeper(QGuiApplication &app)
{
    if (!inputIsPipe())
        return 1;
    QFile source;
    if (!source.open(stdin, QIODevice::ReadOnly))
        return 1;
    const QString text = QString::fromUtf8(source.readAll());

    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    if (!clipboard->ownsClipboard())
        return 1;
    QObject::connect(clipboard, &QClipboard::dataChanged, &app, &QCoreApplication::quit);
    return app.exec();
}

} // namespace zanvo
