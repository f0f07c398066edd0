// Text1 over QScintilla.
#include "window/qt/scintillacontrol.h"

#include "window/form/platform.h"
#include "window/form/scintilla.h"
#include "window/qt/boxaccessibility.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

namespace zanvo {

namespace {

// The numbers the shared box sends are QScintilla's too.
#define ZANVO_SCI_CHECK_MESSAGE(name, number)                                                      \
    static_assert(number == unsigned(QsciScintillaBase::SCI_##name), #name);
ZANVO_SCI_MESSAGES(ZANVO_SCI_CHECK_MESSAGE)
#define ZANVO_SCI_CHECK_VALUE(name) static_assert(sci::name == QsciScintillaBase::SC_##name, #name);
ZANVO_SCI_VALUES(ZANVO_SCI_CHECK_VALUE)

// The files a drag holds, where it holds nothing else: a file manager gives a file's address as
// text too, which is not to go into the box.
std::vector<std::string> localFiles(const QMimeData *source)
{
    std::vector<std::string> names;
    if (!source || !source->hasUrls())
        return names;
    for (const QUrl &url : source->urls()) {
        if (!url.isLocalFile())
            return {};
        names.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    }
    return names;
}

QByteArray toBytes(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

QKeySequence shortcut(EditCommand command)
{
    switch (command) {
    case EditCommand::Undo:
        return QKeySequence::Undo;
    case EditCommand::Redo:
        return QKeySequence(Qt::CTRL | Qt::Key_Y);
    case EditCommand::Cut:
        return QKeySequence::Cut;
    case EditCommand::Copy:
        return QKeySequence::Copy;
    case EditCommand::Paste:
        return QKeySequence::Paste;
    case EditCommand::Delete:
    case EditCommand::RemoveDuplicates:
    case EditCommand::RemoveBlankLines:
        break;
    case EditCommand::SelectAll:
        return QKeySequence::SelectAll;
    }
    return {};
}

// QScintilla makes its fonts from the application's, whatever the widget's. Unhinted, as Qt draws
// on high-DPI screens, FreeType gives a glyph's advance without running its hinter: the first
// drawing of a line of thousands of distinct characters takes half the time.
void drawTextUnhinted()
{
    QFont font = QGuiApplication::font();
    if (font.hintingPreference() == QFont::PreferNoHinting)
        return;
    font.setHintingPreference(QFont::PreferNoHinting);
    QGuiApplication::setFont(font);
}

} // namespace

ScintillaControl::ScintillaControl(QWidget *parent, UiThread &ui, Clipboard &clipboard)
    : QsciScintilla(parent), m_box(*this, ui, clipboard)
{
    drawTextUnhinted();
    describeBoxesQuietly();
    setObjectName(QStringLiteral("Text1"));
    setAccessibleName(QStringLiteral("Text1"));
    setUtf8(true);
    setFolding(NoFoldStyle);
    m_box.setUp();
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char *, int, int, int, int, int, int, int) {
                m_box.modified(type);
            });
    applyLook();
}

std::intptr_t ScintillaControl::send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    // A message without arguments comes back whole on every platform this way.
    if (wParam == 0 && lParam == 0)
        return reinterpret_cast<std::intptr_t>(SendScintillaPtrResult(message));
    return SendScintilla(message, static_cast<unsigned long>(wParam),
                         reinterpret_cast<void *>(lParam));
}

void ScintillaControl::keyPressEvent(QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        && !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        // A plain text box passes the focus on; QScintilla would type a tab.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab
                                    && !(modifiers & Qt::ShiftModifier));
        return;
    }
    if (event->matches(QKeySequence::Paste))
        return m_box.run(EditCommand::Paste);
    if (event->matches(QKeySequence::Copy))
        return m_box.run(EditCommand::Copy);
    if (event->matches(QKeySequence::Cut))
        return m_box.run(EditCommand::Cut);
    if (event->matches(QKeySequence::Undo))
        return m_box.run(EditCommand::Undo);
    if (event->matches(QKeySequence::Redo)
        || (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier))
        return m_box.run(EditCommand::Redo);
    QsciScintilla::keyPressEvent(event);
}

void ScintillaControl::endComposition()
{
    // Only the box's own composition: the input method commits into the widget with the focus.
    if (hasFocus())
        QGuiApplication::inputMethod()->commit();
}

void ScintillaControl::contextMenuEvent(QContextMenuEvent *event)
{
    m_box.endComposition();
    QMenu menu(this);
    for (const MenuEntry &entry : m_box.menu()) {
        if (entry.separatorBefore)
            menu.addSeparator();
        const EditCommand command = entry.command;
        QAction *action = menu.addAction(
            QString::fromUtf8(entry.text.data(), static_cast<qsizetype>(entry.text.size())), this,
            [this, command] { m_box.run(command); });
        action->setShortcut(shortcut(command));
        action->setEnabled(entry.enabled);
    }
    menu.exec(event->globalPos());
}

QByteArray ScintillaControl::fromMimeData(const QMimeData *source, bool &rectangular) const
{
    return toBytes(pastedLineBreaks(
        thisPlatform(), QsciScintilla::fromMimeData(source, rectangular).toStdString()));
}

QMimeData *ScintillaControl::toMimeData(const QByteArray &text, bool rectangular) const
{
    return QsciScintilla::toMimeData(
        toBytes(copiedLineBreaks(
            thisPlatform(),
            std::string_view(text.constData(), static_cast<std::size_t>(text.size())))),
        rectangular);
}

void ScintillaControl::inputMethodEvent(QInputMethodEvent *event)
{
    m_box.compositionChanging();
    QsciScintilla::inputMethodEvent(event);
    m_box.compositionChanged(static_cast<std::size_t>(event->commitString().toUtf8().size()),
                             event->preeditString().toStdString());
}

QVariant ScintillaControl::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query != Qt::ImSurroundingText && query != Qt::ImCursorPosition)
        return QsciScintilla::inputMethodQuery(query);
    // The caret's line without the composition, as a plain text box reports it.
    const auto [before, after] = const_cast<ScintillaBox &>(m_box).surroundingText();
    const QString start = QString::fromStdString(before);
    if (query == Qt::ImCursorPosition)
        return start.size();
    return start + QString::fromStdString(after);
}

void ScintillaControl::changeEvent(QEvent *event)
{
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange
        || event->type() == QEvent::FontChange)
        applyLook();
}

void ScintillaControl::applyLook()
{
    // Scintilla paints with colours and a font of its own; these follow the widget's, which the
    // platform and the skin set.
    static thread_local bool applying = false;
    if (applying)
        return;
    applying = true;
    const QPalette colours = palette();
    setPaper(colours.color(QPalette::Base));
    setColor(colours.color(QPalette::Text));
    setCaretForegroundColor(colours.color(QPalette::Text));
    setSelectionBackgroundColor(colours.color(QPalette::Highlight));
    setSelectionForegroundColor(colours.color(QPalette::HighlightedText));
    setFont(font());
    applying = false;
}

void ScintillaControl::dragEnterEvent(QDragEnterEvent *event)
{
    if (localFiles(event->mimeData()).empty())
        return QsciScintilla::dragEnterEvent(event);
    event->acceptProposedAction();
}

void ScintillaControl::dragMoveEvent(QDragMoveEvent *event)
{
    if (localFiles(event->mimeData()).empty())
        return QsciScintilla::dragMoveEvent(event);
    event->acceptProposedAction();
}

void ScintillaControl::dropEvent(QDropEvent *event)
{
    std::vector<std::string> names = localFiles(event->mimeData());
    if (names.empty())
        return QsciScintilla::dropEvent(event);
    event->acceptProposedAction();
    emit filesDropped(names);
}

} // namespace zanvo
