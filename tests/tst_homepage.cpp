// The home page links: the web site button and the link label each start one browser launcher
// with the address as its only argument, and a missing launcher is reported, not fatal.
#include "runtime/platform.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace zanvo;

class TestHomePage : public QObject {
    Q_OBJECT

private:
    QTemporaryDir bin;
    QByteArray originalPath = qgetenv("PATH");
    QString log;

    // One line a start: the number of arguments, then each argument in brackets.
    QStringList starts() const
    {
        QFile f(log);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(bin.isValid());
        log = bin.filePath(QStringLiteral("starts.log"));
        const QString launcher = bin.filePath(QStringLiteral("xdg-open"));
        QFile script(launcher);
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(
            "#!/bin/sh\n{ printf '%s' \"$#\"; for a; do printf ' [%s]' \"$a\"; done; echo; }"
            " >> \""
            + log.toUtf8() + "\"\n");
        script.close();
        QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void init()
    {
        QFile::remove(log);
        qputenv("PATH", bin.path().toUtf8());
    }

    void cleanup() { qputenv("PATH", originalPath); }

    void everyClickStartsOneLauncherWithTheAddressAlone()
    {
        Form1 form;
        form.show();
        const QString expected = QStringLiteral("1 [%1]").arg(homePageAddress());
        auto *button = form.findChild<QPushButton *>(QStringLiteral("Command2"));
        for (int i = 0; i < 5; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
        QTRY_COMPARE(starts(), QStringList(5, expected));
        QTest::mouseClick(form.findChild<QLabel *>(QStringLiteral("Label2")), Qt::LeftButton);
        QTRY_COMPARE(starts(), QStringList(6, expected));
    }

    void onlyALeftClickInsideTheLabelStartsOne()
    {
        QStringList started;
        Form1Services recording;
        recording.shell = [&started](const QString &program, const QStringList &arguments) {
            started << program + ' ' + arguments.join(' ');
            return true;
        };
        Form1 form(nullptr, TextBoxKind::Scintilla, recording);
        form.show();
        auto *label = form.findChild<QLabel *>(QStringLiteral("Label2"));
        QTest::mouseClick(label, Qt::RightButton);
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(started, QStringList());
        QTest::mouseClick(label, Qt::LeftButton);
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command2")),
                          Qt::LeftButton);
        QCOMPARE(started, QStringList(2, urlOpener(thisPlatform()) + ' ' + homePageAddress()));
    }

    void aLauncherThatCannotStartIsReportedAndTheWindowGoesOn_data()
    {
        QTest::addColumn<bool>("present");
        QTest::newRow("missing") << false;
        QTest::newRow("not executable") << true;
    }

    void aLauncherThatCannotStartIsReportedAndTheWindowGoesOn()
    {
        QFETCH(bool, present);
        QTemporaryDir other;
        if (present) {
            QFile plain(other.filePath(QStringLiteral("xdg-open")));
            QVERIFY(plain.open(QIODevice::WriteOnly));
            plain.write("#!/bin/sh\n");
        }
        qputenv("PATH", other.path().toUtf8());
        Form1 form;
        form.show();
        form.text1().replace(QStringLiteral("用户的文字"));
        QString shown;
        QTimer::singleShot(50, [&shown] {
            if (auto *mb = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = mb->windowTitle() + QLatin1Char('|') + mb->text();
                mb->buttons().first()->click();
            }
        });
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command2")),
                          Qt::LeftButton);
        QVERIFY2(shown.startsWith(QStringLiteral("Zanvo伪原创工具|")), qPrintable(shown));
        QVERIFY(shown.contains(homePageAddress()));
        QCOMPARE(form.text1().plainText(), QStringLiteral("用户的文字"));
        QVERIFY(form.isVisible());
    }
};

QTEST_MAIN(TestHomePage)
#include "tst_homepage.moc"
