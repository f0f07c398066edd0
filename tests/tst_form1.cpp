// The Qt window under the offscreen platform: that it draws and wires what the shared layer
// decides. Its controls and places, the keyboard, a file dropped on the box, the home page links
// through their controls and the real launcher, a run-time error through a click, and Qt's
// Chinese texts. Start and the menu's removals are driven as a person would in tests/e2e.
#include "runtime/randomsource.h"
#include "tempfolder.h"
#include "window/form/errorreport.h"
#include "window/qt/fitlabel.h"
#include "window/qt/form1window.h"
#include "window/qt/qtservices.h"
#include "window/qt/translation.h"

#include <QtTest>
#include <QtWidgets>
#include <cmath>

using namespace zanvo;
using namespace Qt::StringLiterals;

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

// The real services but for a clock that can fail, and the launcher when recording.
struct TestServices : QtServices {
    bool record = true;
    bool failClock = false;
    QStringList started;

    float secondsSinceMidnight() override
    {
        if (failClock)
            throw std::bad_alloc();
        return QtServices::secondsSinceMidnight();
    }
    bool processStart(std::string_view program, const std::vector<std::string> &arguments,
                      bool minimised) override
    {
        if (!record)
            return QtServices::processStart(program, arguments, minimised);
        QString line = QString::fromStdString(std::string(program));
        for (const auto &argument : arguments)
            line += ' ' + QString::fromStdString(argument);
        started << line;
        return true;
    }
};

} // namespace

class TestForm1 : public QObject {
    Q_OBJECT

private:
    TestServices services;
    RandomSource random;
    Form1Window *form = nullptr;
    QWidget *control(const char *name) { return form->findChild<QWidget *>(name); }
    QString box() { return QString::fromUtf8(form->text1().text()); }

private slots:
    void init()
    {
        services = TestServices();
        form = new Form1Window(services, random);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    void cleanup() { delete form; }

    void controlsHaveTheirNamesTextsAndPlaces()
    {
        QCOMPARE(form->windowTitle(), u"Zanvo伪原创工具 1.0"_s);
        QCOMPARE(form->minimumSize(), form->maximumSize());
        QCOMPARE(control("Command1")->property("text"), u"开始伪原创"_s);
        QCOMPARE(control("Command2")->property("text"), u"软件官网"_s);
        QCOMPARE(control("Label2")->property("text"), QString::fromStdString(form1::label2Text()));
        const auto px = [](int twips) { return form1::pixels(twips); };
        QCOMPARE(form->size(), QSize(px(form1::clientArea.width), px(form1::clientArea.height)));
        for (const form1::Place &at : form1::places)
            QCOMPARE(control(std::string(at.name).c_str())->geometry(),
                     QRect(px(at.left), px(at.top), px(at.width), px(at.height)));
        QVERIFY(form->text1().isEmpty());
        // What a screen reader reads: the box as a box to type in, the address as a link to follow.
        QAccessibleInterface *box = QAccessible::queryAccessibleInterface(control("Text1"));
        QCOMPARE(box->role(), QAccessible::EditableText);
        QCOMPARE(box->text(QAccessible::Name), u"需要伪原创的内容"_s);
        // Its text, only while an assistive technology listens: QScintilla's description of it
        // counts characters from the start at each change on screen.
        form->text1().replace("网名");
        QVERIFY(!box->textInterface());
        QAccessible::setActive(true);
        box = QAccessible::queryAccessibleInterface(control("Text1"));
        QCOMPARE(box->textInterface()->text(0, 2), u"网名"_s);
        QCOMPARE(box->text(QAccessible::Name), u"需要伪原创的内容"_s);
        QAccessible::setActive(false);
        QAccessibleInterface *link = QAccessible::queryAccessibleInterface(control("Label2"));
        QCOMPARE(link->role(), QAccessible::Link);
        QCOMPARE(link->text(QAccessible::Name), QString::fromStdString(form1::label2Text()));
        auto *label1 = form->findChild<QLabel *>("Label1");
        QVERIFY(label1->fontMetrics().horizontalAdvance(label1->text())
                <= label1->contentsRect().width());
    }

    void aLabelShrinksItsFontJustUntilItFits()
    {
        QLabel label(u"Zanvo伪原创工具可以打乱文章顺序,并自动复制到剪切板."_s);
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
        QCOMPARE(box(), u"a\r\nb"_s);
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
        QCOMPARE(box(), u"a\r\nb"_s);
    }

    // Drops on the box as a file manager makes them: the files' addresses as URLs and as text.
    void dropOnTheBox(const QStringList &files)
    {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString &file : files)
            urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        data.setText(files.join('\n'));
        QWidget *viewport = static_cast<QAbstractScrollArea *>(control("Text1"))->viewport();
        const QPoint at(20, 20);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &drop);
        QVERIFY(drop.isAccepted());
    }

    void aDroppedFileGoesInAtTheCaretAsOneStepAndABadOneIsRefused()
    {
        const test::TempFolder temp;
        // 一, 二 in GBK
        const QString list = QString::fromStdString(temp.write("名单.txt", "\xD2\xBB\n\xB6\xFE"));
        form->text1().replace("甲乙");
        static_cast<QsciScintilla *>(control("Text1"))
            ->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 3);
        QSignalSpy finished(form, &Form1Window::jobFinished);
        dropOnTheBox({list});
        QVERIFY(finished.wait(10000));
        QCOMPARE(box(), u"甲一\r\n二乙"_s);
        QCOMPARE(form->text1().caret(), std::size_t {3});
        control("Text1")->setFocus();
        QTest::keyClick(control("Text1"), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(box(), u"甲乙"_s);

        const QString latin1 = QString::fromStdString(temp.write("latin1.txt", "caf\xE9"));
        QStringList seen;
        for (const QStringList &files : {QStringList {latin1}, QStringList {list, list}}) {
            const auto before = seen.size();
            answerNextMessageBox(&seen);
            dropOnTheBox(files);
            QTRY_COMPARE_WITH_TIMEOUT(seen.size(), before + 1, 10000);
            QVERIFY(!form->form().busy());
        }
        // The messages' texts are the shared layer's, checked there.
        QCOMPARE(seen.size(), 2);
        QCOMPARE(box(), u"甲乙"_s);
    }

    void onlyALeftClickOnEitherLinkStartsTheLauncher()
    {
        QTest::mouseClick(control("Label2"), Qt::RightButton);
        QTest::mousePress(control("Label2"), Qt::LeftButton);
        QTest::mouseRelease(control("Label2"), Qt::LeftButton, {}, QPoint(-5, -5));
        QTest::mousePress(control("Label2"), Qt::RightButton);
        QTest::mouseRelease(control("Label2"), Qt::LeftButton);
        QCOMPARE(services.started, QStringList());
        QTest::mouseClick(control("Label2"), Qt::LeftButton);
        // A screen reader follows the link as a click would.
        QAccessible::queryAccessibleInterface(control("Label2"))
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        const QString opener = QString::fromStdString(std::string(urlOpener(thisPlatform())));
        QCOMPARE(services.started,
                 QStringList(3,
                             opener + ' '
                                 + QString::fromStdString(std::string(form1::homePageAddress()))));
    }

    void theRealLauncherGetsTheAddressAloneAndOneMissingIsReported()
    {
        const QString address = QString::fromStdString(std::string(form1::homePageAddress()));
        services.record = false;
        QTemporaryDir bin;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", bin.path().toUtf8());
        QStringList seen;
        answerNextMessageBox(&seen);
        QTest::mouseClick(control("Command2"), Qt::LeftButton);
        QCOMPARE(
            seen,
            QStringList {"Zanvo伪原创工具|无法打开网页，请在浏览器中访问：\n" + address + "|确定"});

        QFile launcher(bin.filePath("xdg-open"));
        QVERIFY(launcher.open(QIODevice::WriteOnly));
        launcher.write("#!/bin/sh\nprintf '%s [%s]\\n' \"$#\" \"$1\" > \"$0.log\"\n");
        launcher.close();
        QVERIFY(launcher.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
        QTest::mouseClick(control("Label2"), Qt::LeftButton);
        QFile log(launcher.fileName() + ".log");
        QTRY_VERIFY(log.size() > 0);
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(QString::fromUtf8(log.readAll()), u"1 [%1]\n"_s.arg(address));
        qputenv("PATH", path);
    }

    void aClickedStartShowsItsWorkAndARunTimeErrorInOneEndsTheProgram()
    {
        // A Start that works shows the busy cursor until it is done.
        form->text1().replace("a\r\nb");
        QSignalSpy finished(form, &Form1Window::jobFinished);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QVERIFY(QGuiApplication::overrideCursor());
        QVERIFY(finished.count() == 1 || finished.wait(10000));
        QVERIFY(!QGuiApplication::overrideCursor());

        services.failClock = true;
        form->text1().replace("a\r\nb");
        QSignalSpy ends(form, &Form1Window::programEnds);
        QStringList seen;
        answerNextMessageBox(&seen);
        QTest::mouseClick(control("Command1"), Qt::LeftButton);
        QCOMPARE(ends.count(), 1);
        QCOMPARE(seen, QStringList {"Zanvo伪原创工具|运行时错误 '7':\n\n内存不足|确定"});
        QCOMPARE(ends.first().first().toInt(), runtimeErrorStatus);
        QCOMPARE(box(), u"a\r\nb"_s);
        QVERIFY(!QGuiApplication::overrideCursor());
    }

    void qtsOwnTextsReadChineseAndTheClockReadsTheTimeOfDay()
    {
        QVERIFY(installChineseTranslation(*qApp));
        QCOMPARE(QCoreApplication::translate("QWidgetTextControl", "&Undo"), u"撤消(&U)"_s);
        // Against Qt's own clock; a read across midnight is tried again.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const double qt = QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
            const double ours = secondsSinceMidnight();
            if (std::abs(ours - qt) < 1.0)
                return;
            if (attempt == 0 && qt > 86399.0)
                QTest::qWait(1500);
            else
                QFAIL(qPrintable(u"%1 against Qt's %2"_s.arg(ours).arg(qt)));
        }
    }
};

QTEST_MAIN(TestForm1)
#include "tst_form1.moc"
