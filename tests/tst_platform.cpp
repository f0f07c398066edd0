// The window's platform choices, checked here for every platform, since only one of them runs
// the tests.
#include "runtime/platform.h"
#include "runtime/randomsource.h"

#include <QTest>
#include <QTime>
#include <cmath>

using namespace zanvo;

Q_DECLARE_METATYPE(zanvo::Platform)

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void choicesPerPlatform_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("lineBreak");
        QTest::addColumn<QString>("opener");
        QTest::addColumn<bool>("minimised");
        QTest::newRow("windows") << Platform::Windows << "\r\n"
                                 << "explorer.exe" << true;
        QTest::newRow("macos") << Platform::MacOS << "\n"
                               << "open" << false;
        QTest::newRow("linux") << Platform::Linux << "\n"
                               << "xdg-open" << false;
    }

    void choicesPerPlatform()
    {
        QFETCH(Platform, platform);
        QFETCH(QString, lineBreak);
        QFETCH(QString, opener);
        QFETCH(bool, minimised);
        QCOMPARE(plainTextLineBreak(platform).toString(), lineBreak);
        QCOMPARE(urlOpener(platform), opener);
        QCOMPARE(launcherStartsMinimised(platform), minimised);
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

    void theSkinLiesBesideTheProgram_data()
    {
        QTest::addColumn<Platform>("platform");
        QTest::addColumn<QString>("qtFolder");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("skin");
        QTest::newRow("windows folder") << Platform::Windows << "C:/Program Files/Zanvo"
                                        << "C:\\Program Files\\Zanvo"
                                        << "C:\\Program Files\\Zanvo/aero.she";
        // A drive root keeps its backslash, and the skin's slash comes after it.
        QTest::newRow("windows root") << Platform::Windows << "D:/"
                                      << "D:\\"
                                      << "D:\\/aero.she";
        QTest::newRow("windows share") << Platform::Windows << "//server/share/zanvo"
                                       << "\\\\server\\share\\zanvo"
                                       << "\\\\server\\share\\zanvo/aero.she";
        QTest::newRow("linux") << Platform::Linux << "/usr/lib/zanvo"
                               << "/usr/lib/zanvo"
                               << "/usr/lib/zanvo/aero.she";
        QTest::newRow("linux root") << Platform::Linux << "/"
                                    << "/"
                                    << "//aero.she";
        QTest::newRow("macos bundle") << Platform::MacOS << "/Applications/zanvo.app/Contents/MacOS"
                                      << "/Applications/zanvo.app/Contents/MacOS"
                                      << "/Applications/zanvo.app/Contents/MacOS/aero.she";
    }

    void theSkinLiesBesideTheProgram()
    {
        QFETCH(Platform, platform);
        QFETCH(QString, qtFolder);
        QFETCH(QString, folder);
        QFETCH(QString, skin);
        QCOMPARE(applicationFolder(platform, qtFolder), folder);
        QCOMPARE(skinPath(folder), skin);
    }
};

QTEST_GUILESS_MAIN(TestPlatform)
#include "tst_platform.moc"
