// The window under the offscreen platform: its controls, the Start command, undo, the skin and
// the run-time error report.
#include "runtime/errorreport.h"
#include "runtime/skin.h"
#include "runtime/translation.h"
#include "window/form1.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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
    QPlainTextEdit *text1() { return form->findChild<QPlainTextEdit *>("Text1"); }
    QPushButton *command1() { return form->findChild<QPushButton *>("Command1"); }

    void start() { QTest::mouseClick(command1(), Qt::LeftButton); }

    void setBox(const QString &text) { text1()->setPlainText(text); }

    QString box() { return text1()->toPlainText(); }

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
        QCOMPARE(command1()->geometry(), QRect(568, 88, 89, 57));
        QCOMPARE(form->findChild<QLabel *>("Label2")->geometry(), QRect(80, 496, 401, 17));
        QVERIFY(text1()->toPlainText().isEmpty());
    }

    void enterMakesANewLineAndTabMovesThroughBothButtons()
    {
        QApplication::setActiveWindow(form);
        QTRY_COMPARE(QApplication::focusWidget(), text1());
        QSignalSpy clicked(command1(), &QPushButton::clicked);
        QTest::keyClicks(text1(), "a");
        QTest::keyClick(text1(), Qt::Key_Return);
        QTest::keyClicks(text1(), "b");
        QCOMPARE(box(), QStringLiteral("a\nb"));
        QCOMPARE(clicked.count(), 0);
        QTest::keyClick(text1(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), command1());
        QTest::keyClick(command1(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("Command2"));
        QCOMPARE(box(), QStringLiteral("a\nb"));
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
        QTest::newRow("three") << "a\nb\nc" << QStringList {"a", "b", "c"};
        QTest::newRow("empties dropped") << "\n\na\n\n\nb\n" << QStringList {"a", "b"};
        QTest::newRow("blanks kept") << "x\n  \ny" << QStringList {"x", "  ", "y"};
        QTest::newRow("cjk") << "网名一\n个性签名\n\n网名二"
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
            QCOMPARE(sorted(result.split(QStringLiteral("\n\n"))), sorted(lines));
            QVERIFY(!result.contains(QStringLiteral("\n\n\n")));
            QCOMPARE(QGuiApplication::clipboard()->text(), result);
        }
    }

    void onlyLineBreaksEmptiesBoxAndClipboard()
    {
        QGuiApplication::clipboard()->setText("left over");
        setBox(QStringLiteral("\n\n\n"));
        start();
        QCOMPARE(box(), QString());
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
        QVERIFY(form->isVisible());
    }

    void charactersComeBackExactlyAsTyped()
    {
        // No-break space, line separator, tab and a character outside the BMP: toPlainText()
        // would rewrite the first two.
        const QString line = QStringLiteral("a\u00a0b\u2028c\td\U0001F600");
        setBox(line);
        start();
        QCOMPARE(text1()->document()->toRawText(), line);
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
        QVERIFY(box().contains(QStringLiteral("\n\n")));
        QTest::keyClick(text1(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(), QStringLiteral("one\ntwo"));
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
        QCOMPARE(attach("huge.she", QByteArray(2 << 20, 'a')), int(SkinTooLarge));
        QCOMPARE(qApp->styleSheet(), before);
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

    void runtimeErrorIsReportedWithNumberAndDescription()
    {
        QStringList seen;
        answerNextMessageBox(&seen);
        runGuarded(form, applicationTitle(), [] { throw std::bad_alloc(); });
        QCOMPARE(seen,
                 QStringList {QStringLiteral("Zanvo伪原创工具|运行时错误 '7':\n\n内存不足|确定")});
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
