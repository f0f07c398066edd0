// Text1's two boxes side by side: the Scintilla box stays only where it behaves as Qt's own
// plain-text box does for typing through an input method, and the rest of its plain-box manners.
#include "runtime/platform.h"
#include "runtime/translation.h"
#include "window/scintillabox.h"
#include "window/textbox.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTimer>

using namespace zanvo;

Q_DECLARE_METATYPE(zanvo::TextBoxKind)

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

} // namespace

class TestTextBox : public QObject {
    Q_OBJECT

private:
    void bothKinds()
    {
        QTest::addColumn<TextBoxKind>("kind");
        QTest::newRow("scintilla") << TextBoxKind::Scintilla;
        QTest::newRow("plain") << TextBoxKind::Plain;
    }

private slots:
    void initTestCase() { installChineseTranslation(*qApp); }

    void inputMethodsTypeAsInAPlainBox_data() { bothKinds(); }
    void inputMethodsTypeAsInAPlainBox()
    {
        QFETCH(TextBoxKind, kind);
        QWidget window;
        window.resize(400, 300);
        auto box = makeTextBox(kind, &window);
        box->widget()->setGeometry(10, 10, 300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->replace(QStringLiteral("网名\r\nab"));
        QWidget *edit = box->widget();
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_End, Qt::ControlModifier);
        const QRect before = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();

        preedit(edit, QStringLiteral("zhong"));
        // Shown in place, after the caret, and not part of the text.
        QCOMPARE(box->plainText(), QStringLiteral("网名\r\nab"));
        const QRect during = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        QVERIFY(during.x() > before.x() && during.y() == before.y());
        QVERIFY(edit->rect().contains(during.center()));
        QCOMPARE(edit->inputMethodQuery(Qt::ImSurroundingText).toString(), QStringLiteral("ab"));
        QCOMPARE(edit->inputMethodQuery(Qt::ImCursorPosition).toInt(), 2);

        preedit(edit, QStringLiteral("zhongwen"));
        // One event may commit one word and begin the next.
        QInputMethodEvent both(
            QStringLiteral("wen"),
            {QInputMethodEvent::Attribute(QInputMethodEvent::Cursor, 3, 1, QVariant())});
        both.setCommitString(QStringLiteral("中"));
        QApplication::sendEvent(edit, &both);
        QCOMPARE(box->plainText(), QStringLiteral("网名\r\nab中"));
        commit(edit, QStringLiteral("文"));
        QCOMPARE(box->plainText(), QStringLiteral("网名\r\nab中文"));
        QCOMPARE(edit->inputMethodQuery(Qt::ImSurroundingText).toString(),
                 QStringLiteral("ab中文"));
        // An abandoned composition leaves nothing behind.
        preedit(edit, QStringLiteral("x"));
        preedit(edit, QString());
        QCOMPARE(box->plainText(), QStringLiteral("网名\r\nab中文"));
    }

    void pastedLineBreaksBecomeTheBoxsOwn()
    {
        QWidget window;
        ScintillaBox box(&window);
        auto *edit = static_cast<ScintillaEdit *>(box.widget());
        QGuiApplication::clipboard()->setText(QStringLiteral("a\nb\r\nc\rd"));
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box.plainText(),
                 thisPlatform() == Platform::Windows ? QStringLiteral("a\nb\r\nc\rd")
                                                     : QStringLiteral("a\r\nb\r\nc\rd"));
    }

    void theMenuSpeaksChinese()
    {
        QWidget window;
        ScintillaBox box(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box.replace(QStringLiteral("字"));
        QStringList seen;
        QTimer::singleShot(0, [&seen] {
            if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
                for (QAction *action : menu->actions())
                    if (!action->isSeparator())
                        seen << action->text() + (action->isEnabled() ? "" : "-");
                menu->close();
            }
        });
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                box.widget()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(static_cast<ScintillaEdit *>(box.widget())->viewport(), &event);
        QCOMPARE(seen,
                 QStringList({"撤销(&U)", "重做(&R)-", "剪切(&T)-", "复制(&C)-", "粘贴(&P)",
                              "删除-", "全选(&A)"}));
    }

    void contentFilledOnTheUiThreadShowsTheSame()
    {
        // The way 64-bit Windows fills a new document, where Scintilla's loader is out of reach.
        for (const bool offThread : {true, false}) {
            QWidget window;
            ScintillaBox box(&window);
            static_cast<ScintillaEdit *>(box.widget())->loadOffThread(offThread);
            const QString text = QStringLiteral("一\r\n二") + QChar(0) + QStringLiteral("\r\n三");
            box.replace(QStringLiteral("old"));
            box.replace(text);
            QCOMPARE(box.plainText(), text);
            box.undo();
            QCOMPARE(box.plainText(), QStringLiteral("old"));
            box.redo();
            QCOMPARE(box.plainText(), text);
            QTest::keyClicks(box.widget(), "x");
            box.undo();
            QCOMPARE(box.plainText(), text);
        }
    }

    void largeTextsAreNotWrapped()
    {
        QWidget window;
        ScintillaBox box(&window);
        auto *edit = static_cast<ScintillaEdit *>(box.widget());
        const QString line = QStringLiteral("字").repeated(100) + QStringLiteral("\r\n");
        box.replace(line.repeated(ScintillaEdit::wrapLimit / 302));
        QCOMPARE(edit->wrapMode(), QsciScintilla::WrapWord);
        box.replace(line.repeated(ScintillaEdit::wrapLimit / 302 + 1));
        QCOMPARE(edit->wrapMode(), QsciScintilla::WrapNone);
        box.undo();
        QCOMPARE(edit->wrapMode(), QsciScintilla::WrapWord);
    }
};

QTEST_MAIN(TestTextBox)
#include "tst_textbox.moc"
