// The program's entry: builds the services and the window, and runs the event loop.
#include "runtime/clipboardkeeper.h"
#include "runtime/translation.h"
#include "window/form1.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], zanvo::clipboardKeeperArgument) == 0) {
        QGuiApplication keeper(argc, argv);
        return zanvo::runClipboardKeeper(keeper, QString::fromLocal8Bit(argv[2]));
    }

    QApplication app(argc, argv);
    zanvo::installChineseTranslation(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/zanvo.png")));

    zanvo::Form1 form;
    form.show();
    const int code = app.exec();
    zanvo::keepClipboardAfterExit();
    return code;
}
