// Text1's Scintilla box as the Qt host draws it: typing through an input method, the platform's
// line breaks on a paste, the Chinese menu, a large paste made off the UI thread and its run-time
// error, content filled on either thread, wrapping by size and how far undo reaches back.
#include "window/form/errorreport.h"
#include "window/form/platform.h"
#include "window/qt/qtclipboard.h"
#include "window/qt/scintillacontrol.h"
#include "window/qt/translation.h"
#include "window/qt/uithread.h"

#include <QtTest>
#include <QtWidgets>

using namespace zanvo;
using namespace Qt::StringLiterals;

namespace {

// A composition under way, as input methods send it: underlined, the cursor at its end.
void preedit(QWidget *box, const QString &text)
{
    QInputMethodEvent event(
        text,
        {QInputMethodEvent::Attribute(QInputMethodEvent::TextFormat, 0,
                                      static_cast<int>(text.size()), QVariant()),
         QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, static_cast<int>(text.size()), 1,
                                      QVariant())});
    QApplication::sendEvent(box, &event);
}

void commit(QWidget *box, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(box, &event);
}

QString text(TextBox &box)
{
    return QString::fromUtf8(box.text());
}

} // namespace

class TestTextBox : public QObject {
    Q_OBJECT

private:
    QtUiThread ui;
    QtClipboard clipboard;
    std::unique_ptr<QWidget> window;
    ScintillaControl *edit = nullptr; // a fresh box in its window for each case

private slots:
    void initTestCase() { installChineseTranslation(*qApp); }
    void init()
    {
        window = std::make_unique<QWidget>();
        edit = new ScintillaControl(window.get(), ui, clipboard);
    }
    void cleanup() { window.reset(); }

    void anInputMethodComposesInPlaceAndCommitsIntoTheText()
    {
        window->resize(400, 300);
        edit->box().replace("网名\r\nab");
        const auto typed = [this] { return text(edit->box()); };
        QWidget *box = edit; // the input method's queries are public on QWidget
        box->setGeometry(10, 10, 300, 200);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        const QRect before = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();

        preedit(edit, u"zhong"_s);
        // Shown in place, after the caret, and not part of the text.
        QCOMPARE(typed(), u"网名\r\nab"_s);
        const QRect during = box->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(during.x() > before.x() && during.y() == before.y());
        QVERIFY(box->rect().contains(during.center()));
        QCOMPARE(box->inputMethodQuery(Qt::ImSurroundingText).toString(), u"ab"_s);
        QCOMPARE(box->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);

        preedit(edit, u"zhongwen"_s);
        // One event may commit one word and begin the next.
        QInputMethodEvent both(
            u"wen"_s, {QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 3, 1, QVariant())});
        both.setCommitString(u"中"_s);
        QApplication::sendEvent(edit, &both);
        QCOMPARE(typed(), u"网名\r\nab中"_s);
        commit(edit, u"文"_s);
        QCOMPARE(typed(), u"网名\r\nab中文"_s);
        QCOMPARE(box->inputMethodQuery(Qt::ImSurroundingText).toString(), u"ab中文"_s);
        // An abandoned composition leaves nothing behind.
        preedit(edit, u"x"_s);
        preedit(edit, QString());
        QCOMPARE(typed(), u"网名\r\nab中文"_s);
    }

    void pastesSmallAndLargeTakeThePlatformsLineBreaks()
    {
        const QString line = u"网名\n"_s;
        const std::size_t large = ScintillaBox::backgroundPasteLength / 3 + 1;
        for (const QString &pasted : {u"a\nb\r\nc\rd"_s, line.repeated(large)}) {
            init();
            edit->box().replace("[]");
            edit->setFocus();
            edit->SendScintilla(QsciScintillaBase::SCI_SETSEL, 1UL, 1L);
            QGuiApplication::clipboard()->setText(pasted);
            QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
            QTRY_VERIFY(!edit->box().isBusy());
            const QString expected = thisPlatform() == Platform::Windows
                ? pasted
                : QString(pasted).replace(u"\r\n"_s, u"\n"_s).replace('\n', u"\r\n"_s);
            QCOMPARE(text(edit->box()), '[' + expected + ']');
            // The caret stands after what was pasted, and Ctrl+Z takes the paste back whole.
            QCOMPARE(edit->SendScintilla(QsciScintillaBase::SCI_GETCURRENTPOS),
                     1 + long(expected.toUtf8().size()));
            QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
            QCOMPARE(text(edit->box()), u"[]"_s);
        }
    }

    void copyAndCutGiveEveryCharacterWithThePlatformsLineBreaks()
    {
        edit->box().replace(std::string("[p\0q\r\n\0r]", 9));
        edit->setFocus();
        edit->SendScintilla(QsciScintillaBase::SCI_SETSEL, 1UL, 8L);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        const QString copied
            = QString::fromUtf8(thisPlatform() == Platform::Windows ? QByteArray("p q\r\n r")
                                                                    : QByteArray("p\0q\n\0r", 6));
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        QCOMPARE(text(edit->box()), QString::fromUtf8(QByteArray("[p\0q\r\n\0r]", 9)));

        QGuiApplication::clipboard()->clear();
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text(), copied);
        QCOMPARE(text(edit->box()), u"[]"_s);
        // Nothing selected: nothing cut, and the character after the caret stays.
        QTest::keyClick(edit, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(text(edit->box()), u"[]"_s);
        QTest::keyClick(edit, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(text(edit->box()), QString::fromUtf8(QByteArray("[p\0q\r\n\0r]", 9)));
        // A rectangle's rows are joined by Scintilla, with the platform's line breaks all the same.
        edit->box().replace("ab\r\ncd");
        edit->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONANCHOR, 0UL);
        edit->SendScintilla(QsciScintillaBase::SCI_SETRECTANGULARSELECTIONCARET, 5UL);
        QTest::keyClick(edit, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QGuiApplication::clipboard()->text().toUtf8(),
                 QByteArray(thisPlatform() == Platform::Windows ? "a\r\nc\r\n" : "a\nc\n"));
    }

    void aLargePasteThatFailsIsReportedAndLeavesTheText()
    {
        edit->box().replace("kept");
        struct : QtClipboard {
            std::optional<ClipboardText> text() override
            {
                return ClipboardText {ScintillaBox::backgroundPasteLength,
                                      []() -> std::string { throw std::bad_alloc(); }};
            }
        } unreadable;
        ScintillaBox failing(*edit, ui, unreadable);
        QStringList reports;
        std::vector<bool> busy;
        failing.setGuard([&](const std::function<void()> &work) {
            if (const auto report = runGuarded(work))
                reports << QString::fromStdString(*report);
        });
        failing.onPasting([&](bool pasting) { busy.push_back(pasting); });
        failing.run(EditCommand::Paste);
        QVERIFY(failing.isBusy());
        QTRY_VERIFY(!failing.isBusy());
        QCOMPARE(reports, QStringList {u"运行时错误 '7':\n\n内存不足"_s});
        QCOMPARE(busy, (std::vector<bool> {true, false}));
        QCOMPARE(text(failing), u"kept"_s);
        QTest::keyClicks(edit, "x");
        QCOMPARE(text(failing), u"xkept"_s);
    }

    void enterBreaksALineWithCrLfInADocumentSwappedIn()
    {
        // A Start's result, like a large paste, comes in a new document: the next Start splits
        // its lines at CR LF, so Enter must type that there too.
        edit->box().replace("a");
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(text(edit->box()), u"a\r\n"_s);
    }

    void theMenuSpeaksChinese()
    {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        edit->box().replace("字");
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions())
                    seen << (action->isSeparator()
                                 ? u"|"_s
                                 : action->text() + (action->isEnabled() ? "" : "-"));
                for (QAction *action : menu->actions())
                    if (action->text() == u"全选(&A)"_s)
                        action->trigger();
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                edit->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(edit->viewport(), &event);
        QCOMPARE(seen,
                 QStringList({"撤销(&U)", "重做(&R)-", "|", "剪切(&T)-", "复制(&C)-", "粘贴(&P)",
                              "删除-", "|", "全选(&A)", "删除重复行-", "删除空白行-"}));
        // 全选 selected everything; 删除重复行 and 删除空白行 wait for the window's work to be
        // given.
        QCOMPARE(edit->SendScintilla(QsciScintillaBase::SCI_GETSELECTIONEND), 3L);
        // Given it, it is offered while the box takes edits only.
        edit->box().onRemoveDuplicates([] {});
        edit->box().onRemoveBlankLines([] {});
        const auto lastTwo = [this] {
            const auto entries = edit->box().menu();
            return std::pair(entries[entries.size() - 2].enabled, entries.back().enabled);
        };
        QCOMPARE(lastTwo(), std::pair(true, true));
        edit->box().setBusy(true);
        QCOMPARE(lastTwo(), std::pair(false, false));
        // Nor does a large paste begin while the box is busy.
        QGuiApplication::clipboard()->setText(QString(ScintillaBox::backgroundPasteLength, 'x'));
        edit->box().run(EditCommand::Paste);
        QVERIFY(!edit->box().isBusy());
    }

    void contentFilledOnEitherThreadShowsTheSameAndUndoReachesBackWithinItsBudget()
    {
        // The UI thread is how 64-bit Windows fills a new document, the loader out of reach.
        for (const bool offThread : {true, false}) {
            init();
            ScintillaBox &box = edit->box();
            box.loadOffThread(offThread);
            const QString text2 = u"一\r\n二"_s + QChar(0) + u"\r\n三"_s;
            box.replace("old");
            box.replace(text2.toStdString());
            QCOMPARE(text(box), text2);
            box.run(EditCommand::Undo);
            QCOMPARE(text(box), u"old"_s);
            box.run(EditCommand::Redo);
            QCOMPARE(text(box), text2);
            QTest::keyClicks(edit, "x");
            box.run(EditCommand::Undo);
            QCOMPARE(text(box), text2);
            // A text brought back by redo is undone again.
            box.run(EditCommand::Undo);
            QCOMPARE(text(box), u"old"_s);
        }
        init();
        ScintillaBox &box = edit->box();
        // Each text alone is over the budget: the last one is kept all the same.
        box.setUndoBudget(5);
        for (const char *step : {"aaaaaa", "bbbbbb", "cccccc", "dddddd"})
            box.replace(step);
        QCOMPARE(box.keptTexts(), std::size_t(1));
        box.run(EditCommand::Undo);
        box.run(EditCommand::Undo);
        QCOMPARE(text(box), u"cccccc"_s);
        box.run(EditCommand::Redo);
        QCOMPARE(text(box), u"dddddd"_s);
        // Within the budget, as many texts as it holds.
        box.setUndoBudget(12);
        for (const char *step : {"eeeeee", "ffffff", "gggggg"})
            box.replace(step);
        QCOMPARE(box.keptTexts(), std::size_t(2));
    }

    void largeTextsAreNotWrapped()
    {
        ScintillaBox &box = edit->box();
        const std::string line = std::string(100, 'x') + "\r\n";
        std::string text;
        while (text.size() + line.size() <= ScintillaBox::wrapLimit)
            text += line;
        box.replace(text);
        QVERIFY(box.wraps());
        box.replace(text + line);
        QVERIFY(!box.wraps());
        box.run(EditCommand::Undo);
        QVERIFY(box.wraps());
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
