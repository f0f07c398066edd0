// The home page links: the web site button and the link label each start one browser launcher
// with the address as its only argument, and a launcher that cannot start is reported, not fatal.
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

    // A launcher in the test's folder, found first on the PATH, made of script.
    void launcher(const QByteArray &script, QFile::Permissions permissions)
    {
        QFile file(bin.filePath(urlOpener(Platform::Linux)));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(script) == script.size());
        QVERIFY(file.setPermissions(permissions));
        qputenv("PATH", bin.path().toUtf8());
    }

private slots:
    void cleanup()
    {
        qputenv("PATH", originalPath);
        QFile::remove(bin.filePath(urlOpener(Platform::Linux)));
    }

    void onlyALeftClickOnEitherLinkStartsTheLauncher()
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

    void theLauncherRunsWithTheAddressAlone()
    {
        const QString log = bin.filePath(QStringLiteral("starts.log"));
        launcher("#!/bin/sh\nprintf '%s [%s]\\n' \"$#\" \"$1\" >> '" + log.toUtf8() + "'\n",
                 QFile::ReadOwner | QFile::ExeOwner);
        Form1 form;
        form.show();
        QTest::mouseClick(form.findChild<QPushButton *>(QStringLiteral("Command2")),
                          Qt::LeftButton);
        QFile started(log);
        QTRY_VERIFY(started.exists() && started.size() > 0);
        QVERIFY(started.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(started.readAll()),
                 QStringLiteral("1 [%1]\n").arg(homePageAddress()));
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
        qputenv("PATH", bin.path().toUtf8());
        if (present)
            launcher("#!/bin/sh\n", QFile::ReadOwner);
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
