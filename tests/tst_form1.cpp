// The window under the offscreen platform: its controls, the Start command, undo, the home page
// links, the skin and the run-time error report. The window's clock is the test's, so every
// Start's result is known, and its process start records what the links would start.
#include "runtime/errorreport.h"
#include "runtime/platform.h"
#include "runtime/skin.h"
#include "runtime/translation.h"
#include "scrambler/scrambler.h"
#include "window/fitlabel.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace zanvo;

namespace {

// Closes the next modal message box by clicking its button, and records what it showed as
// "title|text|buttons".
void answerNextMessageBox(QStringList *seen)
{
    QTimer::singleShot(10, [seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return answerNextMessageBox(seen);
        QStringList buttons;
        for (auto *button : box->buttons())
            buttons << button->text();
        seen->append(box->windowTitle() + '|' + box->text() + '|' + buttons.join(','));
        box->buttons().first()->click();
    });
}

QString clipboard()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private:
    float now = 3600.25f;
    QStringList started; // "program arguments", one a process start
    Form1 *form = nullptr;
    QWidget *control(const char *name) { return form->findChild<QWidget *>(name); }

    // Clicks Start and waits until its work is done.
    void start()
    {
        QSignalSpy finished(form, &Form1::startFinished);
        QTest::mouseClick(form->findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(10000));
    }
    QString box() { return form->text1().plainText(); }

    // What Start makes of text at the test's clock.
    QString scrambled(const QString &text)
    {
        RandomSource random;
        random.reseed(now);
        return QString::fromStdString(scramble(text.toStdString(), random));
    }

private slots:
    void init()
    {
        now = 3600.25f;
        started.clear();
        auto record = [this](const QString &program, const QStringList &arguments) {
            started << program + ' ' + arguments.join(' ');
            return true;
        };
        form = new Form1(nullptr, TextBoxKind::Scintilla, {[this] { return now; }, {}, record});
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void cleanup() { delete form; }

    void controlsHaveTheirNamesTextsAndPlaces()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Zanvo伪原创工具 1.0"));
        QCOMPARE(form->size(), QSize(688, 528));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        const std::tuple<const char *, QString, QRect> controls[] = {
            {"Text1", QString(), QRect(16, 32, 537, 449)},
            {"Command1", QStringLiteral("开始伪原创"), QRect(568, 88, 89, 57)},
            {"Command2", QStringLiteral("软件官网"), QRect(568, 208, 89, 57)},
            {"Label1",
             QStringLiteral("Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板.特别适合QQ类型网站"
                            "。如：QQ网名 个性签名 等类型网站."),
             QRect(24, 8, 609, 17)},
            {"Label2",
             QStringLiteral("Zanvo网盘   ") + homePageAddress()
                 + QStringLiteral("   欢迎大家提出宝贵建议"),
             QRect(80, 496, 401, 17)},
        };
        for (const auto &[name, text, place] : controls) {
            QCOMPARE(control(name)->property("text").toString(), text);
            QCOMPARE(control(name)->geometry(), place);
        }
        QVERIFY(form->text1().isEmpty());
        QCOMPARE(control("Text1")->accessibleName(), QStringLiteral("Text1"));
        auto *label1 = form->findChild<QLabel *>("Label1");
        QVERIFY(label1->fontMetrics().horizontalAdvance(label1->text())
                <= label1->contentsRect().width());
    }

    void aLabelShrinksItsFontJustUntilItFits()
    {
        QLabel label(QStringLiteral("Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板."));
        label.resize(2000, 20);
        const QFont roomy = label.font();
        fitToWidth(&label);
        QCOMPARE(label.font(), roomy);
        label.resize(label.fontMetrics().horizontalAdvance(label.text()) * 2 / 3, 20);
        fitToWidth(&label);
        const int room = label.contentsRect().width();
        QFont larger = label.font();
        larger.setPointSizeF(larger.pointSizeF() + 0.25);
        QVERIFY(label.fontMetrics().horizontalAdvance(label.text()) <= room);
        QVERIFY(QFontMetrics(larger).horizontalAdvance(label.text()) > room);
    }

    void enterMakesANewLineAndTabMovesThroughBothButtons()
    {
        QApplication::setActiveWindow(form);
        QTRY_COMPARE(QApplication::focusWidget(), control("Text1"));
        QSignalSpy clicked(control("Command1"), SIGNAL(clicked()));
        QTest::keyClicks(control("Text1"), "a");
        QTest::keyClick(control("Text1"), Qt::Key_Return);
        QTest::keyClicks(control("Text1"), "b");
        QCOMPARE(box(), QStringLiteral("a\r\nb"));
        QCOMPARE(clicked.count(), 0);
        // Forward from the box through both buttons, back again, and back round from the box.
        const std::pair<Qt::Key, const char *> steps[] = {{Qt::Key_Tab, "Command1"},
                                                          {Qt::Key_Tab, "Command2"},
                                                          {Qt::Key_Backtab, "Command1"},
                                                          {Qt::Key_Backtab, "Text1"},
                                                          {Qt::Key_Backtab, "Command2"}};
        for (const auto &[key, next] : steps) {
            QTest::keyClick(QApplication::focusWidget(), key);
            QCOMPARE(QApplication::focusWidget()->objectName(), QLatin1String(next));
        }
        QCOMPARE(box(), QStringLiteral("a\r\nb"));
    }

    void emptyBoxPromptsOnceThenKeepsThePrompt()
    {
        QGuiApplication::clipboard()->setText("left over");
        QStringList seen;
        answerNextMessageBox(&seen);
        start();
        QCOMPARE(seen, QStringList {QStringLiteral("Zanvo伪原创工具|请填写需要伪原创的内容|确定")});
        QCOMPARE(box(), QStringLiteral("请填写需要伪原创的内容"));
        QCOMPARE(clipboard(), QStringLiteral("请填写需要伪原创的内容"));
    }

    void startShowsAndCopiesTheScrambledText_data()
    {
        QTest::addColumn<QString>("input");
        QTest::newRow("one line") << QStringLiteral("一行文字 no break");
        QTest::newRow("only breaks") << QStringLiteral("\r\n\r\n\r\n");
        QTest::newRow("lines") << QStringLiteral("\r\n网名一\r\n\r\n个性签名\r\n  \r\n网名二\r\n");
        QTest::newRow("lone breaks are characters") << QStringLiteral("p\nq\r\nr\rs\r\nt");
        // No-break space, ideographic space, line separator, tab, a NUL and a character outside
        // the BMP.
        QTest::newRow("characters") << QStringLiteral("a\u00a0b\u3000\u2028c\td") + QChar(0)
                + QStringLiteral("\U0001F600\r\nx");
    }

    void startShowsAndCopiesTheScrambledText()
    {
        QFETCH(QString, input);
        QGuiApplication::clipboard()->setText("left over");
        form->text1().replace(input);
        start();
        QCOMPARE(box(), scrambled(input));
        QCOMPARE(clipboard(),
                 scrambled(input).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }

    void startReseedsFromTheClockWithItsFraction()
    {
        const QString text = QStringLiteral("行1\r\n行2\r\n行3\r\n行4\r\n行5\r\n行6\r\n行7");
        form->text1().replace(text);
        start();
        const QString quarter = box();
        form->text1().replace(text);
        start();
        QCOMPARE(box(), quarter);
        now = 3600.5f;
        form->text1().replace(text);
        start();
        QCOMPARE(box(), scrambled(text));
        QVERIFY(box() != quarter);
    }

    void undoBringsBackTheTextFromBeforeTheClick()
    {
        const QString typed = QStringLiteral("one\r\ntwo\r\nthree");
        now = 61.75f;
        QApplication::setActiveWindow(form);
        control("Text1")->setFocus();
        QTest::keyClicks(control("Text1"), "one");
        QTest::keyClick(control("Text1"), Qt::Key_Return);
        QTest::keyClicks(control("Text1"), "two");
        QTest::keyClick(control("Text1"), Qt::Key_Return);
        QTest::keyClicks(control("Text1"), "three");
        // A second click while Start works is not taken.
        QSignalSpy finished(form, &Form1::startFinished);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QVERIFY(finished.wait(10000));
        QTRY_VERIFY(!form->busy());
        QCOMPARE(finished.count(), 1);
        const QString result = box();
        QCOMPARE(result, scrambled(typed));
        QVERIFY(result != QStringLiteral("one\r\n\r\ntwo\r\n\r\nthree"));
        const std::pair<Qt::Key, QString> steps[] = {{Qt::Key_Z, typed},
                                                     {Qt::Key_Y, result},
                                                     // Typing after Start is undone first.
                                                     {Qt::Key_Exclam, "!" + result},
                                                     {Qt::Key_Z, result},
                                                     {Qt::Key_Z, typed}};
        for (const auto &[key, after] : steps) {
            QTest::keyClick(control("Text1"), key,
                            key == Qt::Key_Exclam ? Qt::NoModifier : Qt::ControlModifier);
            QCOMPARE(box(), after);
        }
    }

    void onlyALeftClickOnEitherLinkStartsTheLauncher()
    {
        QTest::mouseClick(control("Label2"), Qt::RightButton);
        QTest::mousePress(control("Label2"), Qt::LeftButton);
        QTest::mouseRelease(control("Label2"), Qt::LeftButton, {}, QPoint(-5, -5));
        QCOMPARE(started, QStringList());
        QTest::mouseClick(control("Label2"), Qt::LeftButton);
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QCOMPARE(started, QStringList(2, urlOpener(thisPlatform()) + ' ' + homePageAddress()));
    }

    void theLauncherGetsTheAddressAloneAndOneMissingIsReported()
    {
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        Form1 real;
        real.text1().replace(QStringLiteral("用户的文字"));
        QStringList seen;
        answerNextMessageBox(&seen);
        QTest::mouseClick(real.findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QCOMPARE(seen,
                 QStringList {"Zanvo伪原创工具|无法打开网页，请在浏览器中访问：\n"
                              + homePageAddress() + "|确定"});
        QCOMPARE(real.text1().plainText(), QStringLiteral("用户的文字"));

        QFile launcher(bin.filePath(urlOpener(Platform::Linux)));
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.write("#!/bin/sh\nprintf '%s [%s]\\n' \"$#\" \"$1\" > \"$0.log\"\n");
        launcher.close();
        QVERIFY(launcher.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        QTest::mouseClick(real.findChild<QPushButton *>("Command2"), Qt::LeftButton);
        QFile log(launcher.fileName() + ".log");
        QTRY_VERIFY(log.size() > 0);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()),
                 QStringLiteral("1 [%1]\n").arg(homePageAddress()));
        qputenv("PATH", path);
    }

    void badSkinsLeaveTheLookAndAGoodOneApplies()
    {
        QTemporaryDir dir;
        const QString before = qApp->styleSheet();
        auto attach = [&](const char *name, const QByteArray &bytes) {
            const QString path = *name ? dir.filePath(name) : dir.path();
            QFile f(path);
            if (!bytes.isNull() && f.open(QIODevice::WriteOnly))
                f.write(bytes);
            f.close();
            return SkinH_AttachEx(path, {});
        };
        const QByteArray folder = "QWidget { background-image: url(" + dir.path().toUtf8() + "); }";
        const std::tuple<const char *, QByteArray, int> skins[] = {
            {"missing.she", QByteArray(), SkinUnreadable},
            {"", QByteArray(), SkinUnreadable}, // the folder itself
            {"empty.she", "  \n", SkinEmpty},
            {"binary.she", QByteArray("\x89PNG\0\0\x01\x02", 8), SkinNotText},
            {"latin1.she", "QWidget { color: \xe9; }", SkinNotText},
            {"nul.she", QByteArray("QWidget { color: red; }\0", 24), SkinNotText},
            {"over.she", "/*" + QByteArray((1 << 20) - 3, 'a') + "*/", SkinTooLarge},
            {"folder.she", folder, SkinBadReference},
        };
        for (const auto &[name, bytes, result] : skins) {
            QCOMPARE(attach(name, bytes), result);
            QCOMPARE(qApp->styleSheet(), before);
        }
#ifdef Q_OS_UNIX
        // Neither a pipe as the skin nor one that a skin names may hold start-up up.
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("pipe.she")).constData(), 0600) == 0);
        QCOMPARE(SkinH_AttachEx(dir.filePath("pipe.she"), {}), int(SkinUnreadable));
        QCOMPARE(attach("named.she",
                        "QWidget { background-image: url(\"" + dir.filePath("pipe.she").toUtf8()
                            + "\"); }"),
                 int(SkinBadReference));
#endif
        QCOMPARE(qApp->styleSheet(), before);
        QCOMPARE(attach("limit.she", "/*" + QByteArray((1 << 20) - 4, 'a') + "*/"),
                 int(SkinAttached));
        QCOMPARE(attach("good.she", "QPushButton { color: red; }"), int(SkinAttached));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QPushButton { color: red; }"));
        qApp->setStyleSheet(before);
    }

    void qtsOwnTextsReadChinese()
    {
        QVERIFY(installChineseTranslation(*qApp));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Undo"),
                 QStringLiteral("撤消(&U)"));
    }

    void aRunTimeErrorIsReportedAndEndsTheProgram_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("report");
        QTest::newRow("overflow") << 0 << QStringLiteral("运行时错误 '6':\n\n溢出");
        QTest::newRow("memory") << 1 << QStringLiteral("运行时错误 '7':\n\n内存不足");
        QTest::newRow("other") << 2 << QStringLiteral("运行时错误 '51':\n\nbroken");
    }

    void aRunTimeErrorIsReportedAndEndsTheProgram()
    {
        QFETCH(int, kind);
        QFETCH(QString, report);
        Form1Services failing;
        failing.scramble = [kind](std::string_view, RandomSource &) -> std::string {
            if (kind == 0)
                throw RuntimeError::overflow();
            if (kind == 1)
                throw std::bad_alloc();
            throw std::runtime_error("broken");
        };
        Form1 failed(nullptr, TextBoxKind::Scintilla, failing);
        failed.text1().replace(QStringLiteral("a\r\nb"));
        QSignalSpy ends(&failed, &Form1::programEnds);
        QStringList seen;
        answerNextMessageBox(&seen);
        QTest::mouseClick(failed.findChild<QPushButton *>("Command1"), Qt::LeftButton);
        QVERIFY(ends.wait(10000));
        QCOMPARE(seen, QStringList {"Zanvo伪原创工具|" + report + "|确定"});
        QCOMPARE(ends.first().first().toInt(), runtimeErrorStatus);
        QCOMPARE(failed.text1().plainText(), QStringLiteral("a\r\nb"));
        QVERIFY(!failed.busy());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
