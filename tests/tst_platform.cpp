// The window's platform choices, checked here for every platform, since only one of them runs
// the tests.
#include "runtime/platform.h"
#include "runtime/randomsource.h"

#include <QTest>
#include <QTime>
#include <cmath>

using namespace zanvo;

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void choicesPerPlatform()
    {
        const std::tuple<Platform, QString, QString, bool> choices[] = {
            {Platform::Windows, "\r\n", "explorer.exe", true},
            {Platform::MacOS, "\n", "open", false},
            {Platform::Linux, "\n", "xdg-open", false},
        };
        for (const auto &[platform, lineBreak, opener, minimised] : choices) {
            QCOMPARE(plainTextLineBreak(platform).toString(), lineBreak);
            QCOMPARE(urlOpener(platform), opener);
            QCOMPARE(launcherStartsMinimised(platform), minimised);
        }
    }

    void lineBreaksOnTheWayInAndOut()
    {
        const QByteArray mixed("a\nb\r\nc\rd\n");
        QCOMPARE(pastedLineBreaks(Platform::Linux, mixed), QByteArray("a\r\nb\r\nc\rd\r\n"));
        QCOMPARE(pastedLineBreaks(Platform::MacOS, "\n\n"), QByteArray("\r\n\r\n"));
        QCOMPARE(pastedLineBreaks(Platform::Windows, mixed), mixed);
        QCOMPARE(copiedLineBreaks(Platform::Linux, "a\r\nb\rc\nd"), QByteArray("a\nb\rc\nd"));
        QCOMPARE(copiedLineBreaks(Platform::Windows, "a\r\nb"), QByteArray("a\r\nb"));
    }

    void theClockReadsTheLocalTimeOfDay()
    {
        // Against Qt's own clock; a read across midnight is tried again.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const double qt = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
            const double ours = secondsSinceMidnight();
            if (std::abs(ours - qt) < 1.0)
                return;
            if (attempt == 0 && qt > 86399.0)
                QTest::qWait(1500);
            else
                QFAIL(qPrintable(QStringLiteral("%1 against Qt's %2").arg(ours).arg(qt)));
        }
    }

    void theSkinLiesBesideTheProgram()
    {
        // Qt's name for the program's folder, the platform's own, and the skin's path.
        const std::tuple<Platform, QString, QString, QString> folders[] = {
            {Platform::Windows, "C:/Program Files/Zanvo", "C:\\Program Files\\Zanvo",
             "C:\\Program Files\\Zanvo/aero.she"},
            // A drive root keeps its backslash, and the skin's slash comes after it.
            {Platform::Windows, "D:/", "D:\\", "D:\\/aero.she"},
            {Platform::Windows, "//server/share/zanvo", "\\\\server\\share\\zanvo",
             "\\\\server\\share\\zanvo/aero.she"},
            {Platform::Linux, "/usr/lib/zanvo", "/usr/lib/zanvo", "/usr/lib/zanvo/aero.she"},
            {Platform::Linux, "/", "/", "//aero.she"},
            {Platform::MacOS, "/Applications/zanvo.app/Contents/MacOS",
             "/Applications/zanvo.app/Contents/MacOS",
             "/Applications/zanvo.app/Contents/MacOS/aero.she"},
        };
        for (const auto &[platform, qtFolder, folder, skin] : folders) {
            QCOMPARE(applicationFolder(platform, qtFolder), folder);
            QCOMPARE(skinPath(folder), skin);
        }
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
