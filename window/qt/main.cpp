// The program's entry: builds the services and the window, and runs the event loop.
#include "window/qt/clipboardkeeper.h"
#include "window/qt/form1window.h"
#include "window/qt/qtservices.h"
#include "window/qt/translation.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    if (argc == 2 && qstrcmp(argv[1], zanvo::clipboardKeeperArgument) == 0) {
        QGuiApplication keeper(argc, argv);
        return zanvo::runClipboardKeeper(keeper);
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zanvo"));
    QApplication::setApplicationVersion(QStringLiteral(ZANVO_VERSION));
    QGuiApplication::setDesktopFileName(QStringLiteral(ZANVO_APP_ID));
    // The display name "Zanvo伪原创工具" lives in the desktop entry, not here: Qt appends a display
    // name set at run time to every window title, and the caption must read exactly as it does.
    zanvo::installChineseTranslation(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/zanvo.png")));

    zanvo::QtServices services;
    zanvo::Form1Window form(services);
    QObject::connect(&form, &zanvo::Form1Window::programEnds, &app,
                     [&app](int status) { app.exit(status); });
    form.show();
    const int code = app.exec();
    zanvo::keepClipboardAfterExit();
    return code;
}
