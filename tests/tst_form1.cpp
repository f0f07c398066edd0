// The window under the offscreen platform: its controls, the Start command, undo, the skin and
// the run-time error report.
#include "runtime/errorreport.h"
#include "runtime/messagebox.h"
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
// "title|text|buttons", with "|icon" where it has one.
void answerNextMessageBox(QStringList *seen)
{
    QTimer::singleShot(10, [seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return answerNextMessageBox(seen);
        QStringList buttons;
        for (auto *button : box->buttons())
            buttons << button->text();
        seen->append(box->windowTitle() + '|' + box->text() + '|' + buttons.join(',')
                     + (box->icon() != QMessageBox::NoIcon ? "|icon" : ""));
        box->buttons().first()->click();
    });
}

QStringList sorted(QStringList list)
{
    list.sort();
    return list;
}

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private:
    Form1 *form = nullptr;
    QWidget *text1() { return form->findChild<QWidget *>("Text1"); }
    QPushButton *command1() { return form->findChild<QPushButton *>("Command1"); }

    // Clicks Start and waits until its work is done.
    void start()
    {
        QSignalSpy finished(form, &Form1::startFinished);
        QTest::mouseClick(command1(), Qt::LeftButton);
        QVERIFY(finished.count() == 1 || finished.wait(10000));
    }

    void setBox(const QString &text) { form->text1().replace(text); }

    QString box() { return form->text1().plainText(); }

private slots:
    void init()
    {
        form = new Form1;
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void cleanup() { delete form; }

    void controlsHaveTheirNamesTextsAndPlaces()
    {
        QCOMPARE(form->windowTitle(), QStringLiteral("Zanvo伪原创工具 1.0"));
        QCOMPARE(form->size(), QSize(688, 528));
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(command1()->text(), QStringLiteral("开始伪原创"));
        QCOMPARE(form->findChild<QPushButton *>("Command2")->text(), QStringLiteral("软件官网"));
        QCOMPARE(
            form->findChild<QLabel *>("Label1")->text(),
            QStringLiteral("Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板.特别适合QQ类型网站"
                           "。如：QQ网名 个性签名 等类型网站."));
        QCOMPARE(form->findChild<QLabel *>("Label2")->text(),
                 QStringLiteral("Zanvo网盘   ") + homePageAddress()
                     + QStringLiteral("   欢迎大家提出宝贵建议"));
        QCOMPARE(text1()->geometry(), QRect(16, 32, 537, 449));
        auto *label1 = form->findChild<QLabel *>("Label1");
        QVERIFY(label1->fontMetrics().horizontalAdvance(label1->text())
                <= label1->contentsRect().width());
        QCOMPARE(command1()->geometry(), QRect(568, 88, 89, 57));
        QCOMPARE(form->findChild<QLabel *>("Label2")->geometry(), QRect(80, 496, 401, 17));
        QVERIFY(form->text1().isEmpty());
        QCOMPARE(text1()->accessibleName(), QStringLiteral("Text1"));
    }

    void enterMakesANewLineAndTabMovesThroughBothButtons()
    {
        QApplication::setActiveWindow(form);
        QTRY_COMPARE(QApplication::focusWidget(), text1());
        QSignalSpy clicked(command1(), &QPushButton::clicked);
        QTest::keyClicks(text1(), "a");
        QTest::keyClick(text1(), Qt::Key_Return);
        QTest::keyClicks(text1(), "b");
        QCOMPARE(box(), QStringLiteral("a\r\nb"));
        QCOMPARE(clicked.count(), 0);
        QTest::keyClick(text1(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), command1());
        QTest::keyClick(command1(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), text1());
        QTest::keyClick(text1(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
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
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("请填写需要伪原创的内容"));
    }

    void oneLineStaysAsItIs()
    {
        setBox(QStringLiteral("一行文字 no break"));
        start();
        QCOMPARE(box(), QStringLiteral("一行文字 no break"));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("一行文字 no break"));
    }

    void linesAreShuffledWithOneEmptyLineBetween_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("three") << "a\r\nb\r\nc" << QStringList {"a", "b", "c"};
        QTest::newRow("empties dropped") << "\r\n\r\na\r\n\r\n\r\nb\r\n" << QStringList {"a", "b"};
        QTest::newRow("blanks kept") << "x\r\n  \r\ny" << QStringList {"x", "  ", "y"};
        QTest::newRow("lone breaks are characters")
            << "p\nq\r\nr\rs" << QStringList {"p\nq", "r\rs"};
        QTest::newRow("cjk") << "网名一\r\n个性签名\r\n\r\n网名二"
                             << QStringList {"网名一", "个性签名", "网名二"};
    }

    void linesAreShuffledWithOneEmptyLineBetween()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, lines);
        setBox(input);
        for (int run = 0; run < 2; ++run) {
            start();
            const QString result = box();
            QCOMPARE(sorted(result.split(QStringLiteral("\r\n\r\n"))), sorted(lines));
            QVERIFY(!result.contains(QStringLiteral("\r\n\r\n\r\n")));
            QCOMPARE(QGuiApplication::clipboard()->text(),
                     QString(result).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
        }
    }

    void aSecondClickWhileStartWorksIsNotTaken()
    {
        setBox(QStringLiteral("x\r\ny\r\nz"));
        QSignalSpy finished(form, &Form1::startFinished);
        QTest::mouseClick(command1(), Qt::LeftButton);
        QTest::mouseClick(command1(), Qt::LeftButton);
        QVERIFY(finished.wait(10000));
        QTRY_VERIFY(!form->busy());
        QCOMPARE(finished.count(), 1);
        QCOMPARE(sorted(box().split(QStringLiteral("\r\n\r\n"))), QStringList({"x", "y", "z"}));
        form->text1().undo();
        QCOMPARE(box(), QStringLiteral("x\r\ny\r\nz"));
    }

    void onlyLineBreaksEmptiesBoxAndClipboard()
    {
        QGuiApplication::clipboard()->setText("left over");
        setBox(QStringLiteral("\r\n\r\n\r\n"));
        start();
        QCOMPARE(box(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QVERIFY(form->isVisible());
    }

    void charactersComeBackExactlyAsTyped()
    {
        // No-break space, ideographic space, line separator, tab, a NUL and a character outside
        // the BMP.
        const QString line
            = QStringLiteral("a\u00a0b\u3000\u2028c\td") + QChar(0) + QStringLiteral("\U0001F600");
        setBox(line);
        start();
        QCOMPARE(box(), line);
        QCOMPARE(QGuiApplication::clipboard()->text(), line);
    }

    void undoBringsBackTheTextFromBeforeTheClick()
    {
        QApplication::setActiveWindow(form);
        text1()->setFocus();
        QTest::keyClicks(text1(), "one");
        QTest::keyClick(text1(), Qt::Key_Return);
        QTest::keyClicks(text1(), "two");
        start();
        const QString scrambled = box();
        QVERIFY(scrambled.contains(QStringLiteral("\r\n\r\n")));
        QTest::keyClick(text1(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(), QStringLiteral("one\r\ntwo"));
        QTest::keyClick(text1(), Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(box(), scrambled);
        // Typing after Start is undone first, then the Start.
        QTest::keyClicks(text1(), "!");
        QTest::keyClick(text1(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(), scrambled);
        QTest::keyClick(text1(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(), QStringLiteral("one\r\ntwo"));
    }

    void badSkinsLeaveTheLookAndAGoodOneApplies()
    {
        QTemporaryDir dir;
        const QString before = qApp->styleSheet();
        auto attach = [&](const char *name, const QByteArray &bytes) {
            {
                QFile f(dir.filePath(name));
                if (f.open(QIODevice::WriteOnly))
                    f.write(bytes);
            }
            return SkinH_AttachEx(dir.filePath(name), {});
        };
        QCOMPARE(SkinH_AttachEx(dir.filePath("missing.she"), {}), int(SkinUnreadable));
        QCOMPARE(SkinH_AttachEx(dir.path(), {}), int(SkinUnreadable));
        QCOMPARE(attach("empty.she", "  \n"), int(SkinEmpty));
        QCOMPARE(attach("binary.she", QByteArray("\x89PNG\0\0\x01\x02", 8)), int(SkinNotText));
        QCOMPARE(attach("latin1.she", "QWidget { color: \xe9; }"), int(SkinNotText));
        QCOMPARE(attach("nul.she", QByteArray("QWidget { color: red; }\0", 24)), int(SkinNotText));
        QCOMPARE(attach("huge.she", QByteArray(2 << 20, 'a')), int(SkinTooLarge));
        QCOMPARE(attach("limit.she", "/*" + QByteArray((1 << 20) - 4, 'a') + "*/"),
                 int(SkinAttached));
        qApp->setStyleSheet(before);
        QCOMPARE(attach("over.she", "/*" + QByteArray((1 << 20) - 3, 'a') + "*/"),
                 int(SkinTooLarge));
#ifdef Q_OS_UNIX
        // Neither a pipe as the skin nor one that a skin names may hold start-up up.
        QVERIFY(::mkfifo(QFile::encodeName(dir.filePath("pipe.she")).constData(), 0600) == 0);
        QCOMPARE(SkinH_AttachEx(dir.filePath("pipe.she"), {}), int(SkinUnreadable));
        QCOMPARE(attach("named.she",
                        "QWidget { background-image: url(\"" + dir.filePath("pipe.she").toUtf8()
                            + "\"); }"),
                 int(SkinBadReference));
        QCOMPARE(
            attach("folder.she", "QWidget { background-image: url(" + dir.path().toUtf8() + "); }"),
            int(SkinBadReference));
#endif
        QCOMPARE(qApp->styleSheet(), before);
        QCOMPARE(attach("good.she", "QPushButton { color: red; }"), int(SkinAttached));
        QCOMPARE(qApp->styleSheet(), QStringLiteral("QPushButton { color: red; }"));
        qApp->setStyleSheet(before);
    }

    void aLabelShrinksItsFontUntilItFits()
    {
        const QString text = QStringLiteral("Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板.");
        QLabel label(text);
        QFont big = label.font();
        big.setPointSizeF(14);
        label.setFont(big);
        label.resize(label.fontMetrics().horizontalAdvance(text) * 2 / 3, 20);
        fitToWidth(&label);
        QCOMPARE(label.text(), text);
        QVERIFY(label.fontMetrics().horizontalAdvance(text) <= label.contentsRect().width());
        QVERIFY(label.font().pointSizeF() < 14);
        // One that fits is left alone.
        QLabel roomy(text);
        roomy.resize(2000, 20);
        const QFont before = roomy.font();
        fitToWidth(&roomy);
        QCOMPARE(roomy.font(), before);
    }

    void qtsOwnTextsReadChinese()
    {
        QVERIFY(installChineseTranslation(*qApp));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Undo"),
                 QStringLiteral("撤消(&U)"));
    }

    void startReseedsFromTheClockWithItsFraction()
    {
        float now = 3600.25f;
        Form1 clocked(nullptr, TextBoxKind::Scintilla, {[&now] { return now; }, {}, {}});
        QString text;
        for (int i = 0; i < 30; ++i)
            text += QStringLiteral("行%1\r\n").arg(i);
        auto startOn = [&] {
            clocked.text1().replace(text);
            QSignalSpy finished(&clocked, &Form1::startFinished);
            QTest::mouseClick(clocked.findChild<QPushButton *>("Command1"), Qt::LeftButton);
            return finished.wait(10000) ? clocked.text1().plainText() : QString();
        };
        auto expected = [&](float seconds) {
            RandomSource random;
            random.reseed(seconds);
            return QString::fromStdString(scramble(text.toStdString(), random));
        };
        const QString quarter = startOn();
        QCOMPARE(quarter, expected(3600.25f));
        QCOMPARE(startOn(), quarter);
        now = 3600.5f;
        const QString half = startOn();
        QCOMPARE(half, expected(3600.5f));
        QVERIFY(half != quarter);
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
        QCOMPARE(
            seen,
            QStringList {QStringLiteral("Zanvo伪原创工具|") + report + QStringLiteral("|确定")});
        QCOMPARE(ends.first().first().toInt(), runtimeErrorStatus);
        QCOMPARE(failed.text1().plainText(), QStringLiteral("a\r\nb"));
        QVERIFY(!failed.busy());
        QVERIFY(!QGuiApplication::overrideCursor());
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
