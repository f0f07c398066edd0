// Text1 over QScintilla.
#include "window/scintillabox.h"

#include "runtime/platform.h"
#include "window/filljob.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <new>

// Scintilla's interface for filling a document off the UI thread. Its header is not installed
// with QScintilla; the declaration matches Scintilla's ILoader.h, which, in the Scintilla that
// QScintilla 2.13 carries, stands in the global namespace: a type of another name would not be
// the one the library's documents derive from.
class ILoader {
public:
    virtual int Release() = 0;
    virtual int AddData(const char *data, std::ptrdiff_t length) = 0;
    virtual void *ConvertToDocument() = 0;

protected:
    ~ILoader() = default;
};

namespace zanvo {

namespace {

using Base = QsciScintillaBase;

// Content for a document of the box. A loaded one is filled off the UI thread through Scintilla's
// loader; a held one keeps the text for the UI thread to put into a fresh document.
class ScintillaContent : public TextBox::Content {
public:
    explicit ScintillaContent(ScintillaEdit *edit) : m_edit(edit) { }
    // The document to show, with one reference that is now the caller's, and the text still to
    // put into it.
    virtual ScintillaEdit::Document take() = 0;
    virtual std::string_view pending() const { return {}; }

protected:
    QPointer<ScintillaEdit> m_edit;
};

class LoadedContent : public ScintillaContent {
public:
    LoadedContent(ScintillaEdit *edit, ILoader *loader) : ScintillaContent(edit), m_loader(loader)
    {
    }
    ~LoadedContent() override
    {
        if (m_loader)
            m_loader->Release();
        if (m_document && m_edit)
            m_edit->SendScintilla(Base::SCI_RELEASEDOCUMENT, 0UL, m_document);
    }

    void add(const char *utf8, std::size_t size) override
    {
        // Fed in slices, so that no single call holds on for long and a failure shows early.
        constexpr std::size_t slice = 16 << 20;
        for (std::size_t at = 0; at < size; at += slice) {
            const std::size_t n = std::min(slice, size - at);
            if (m_loader->AddData(utf8 + at, static_cast<std::ptrdiff_t>(n)) != Base::SC_STATUS_OK)
                throw std::bad_alloc();
        }
    }
    void finish() override
    {
        m_document = m_loader->ConvertToDocument();
        m_loader = nullptr;
    }
    ScintillaEdit::Document take() override { return std::exchange(m_document, nullptr); }

private:
    ILoader *m_loader;
    ScintillaEdit::Document m_document = nullptr;
};

class HeldContent : public ScintillaContent {
public:
    using ScintillaContent::ScintillaContent;

    void add(const char *utf8, std::size_t size) override { m_text.append(utf8, size); }
    void finish() override { }
    ScintillaEdit::Document take() override
    {
        return m_edit->SendScintillaPtrResult(Base::SCI_CREATEDOCUMENT);
    }
    std::string_view pending() const override { return m_text; }

private:
    std::string m_text;
};

} // namespace

ScintillaEdit::ScintillaEdit(QWidget *parent) : QsciScintilla(parent)
{
    setObjectName(QStringLiteral("Text1"));
    setAccessibleName(QStringLiteral("Text1"));
    setUtf8(true);
    setEolMode(EolWindows);
    for (int margin = 0; margin < 5; ++margin)
        setMarginWidth(margin, 0);
    SendScintilla(SCI_SETMARGINLEFT, 0UL, 2L);
    SendScintilla(SCI_SETMARGINRIGHT, 0UL, 2L);
    setFolding(NoFoldStyle);
    setWrapMode(WrapWord);
    // Line breaks of a paste are made the box's own here, the platform's way (fromMimeData).
    SendScintilla(SCI_SETPASTECONVERTENDINGS, 0UL);
    // Lays out only the lines in view, instead of keeping every line's layout.
    SendScintilla(SCI_SETLAYOUTCACHE, static_cast<unsigned long>(SC_CACHE_PAGE));
    SendScintilla(SCI_SETSCROLLWIDTH, 1UL);
    SendScintilla(SCI_SETSCROLLWIDTHTRACKING, 1UL);
    connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
            [this](int, int type, const char *, int, int, int, int, int, int, int) {
                if (m_swapping || !(type & (SC_MOD_INSERTTEXT | SC_MOD_DELETETEXT)))
                    return;
                // A new edit after undoing a Start ends the way back to what it had made.
                if (type & SC_PERFORMED_USER)
                    dropRedo();
                fitWrapToSize();
            });
    applyLook();
}

ScintillaEdit::~ScintillaEdit()
{
    // Its worker still reads this box's text.
    delete m_pasteJob;
    for (auto *kept : {&m_undoDocuments, &m_redoDocuments})
        for (const Document document : *kept)
            SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);
}

std::unique_ptr<TextBox::Content> ScintillaEdit::newContent()
{
    if (!m_loadsOffThread)
        return std::make_unique<HeldContent>(this);
    // No size hint: Scintilla fills a hinted buffer with zeros at once, here on the UI thread
    // (0.27 s for 50 MB); without one the buffer grows inside AddData, on the worker.
    auto *loader = reinterpret_cast<ILoader *>(SendScintilla(
        SCI_CREATELOADER, 0UL,
        static_cast<long>(SC_DOCUMENTOPTION_STYLES_NONE | SC_DOCUMENTOPTION_TEXT_LARGE)));
    if (!loader)
        throw std::bad_alloc();
    return std::make_unique<LoadedContent>(this, loader);
}

void ScintillaEdit::swapIn(std::unique_ptr<TextBox::Content> content, long caret)
{
    auto &filled = static_cast<ScintillaContent &>(*content);
    swapIn(filled.take(), caret, filled.pending());
}

void ScintillaEdit::swapIn(Document document, long caret, std::string_view pending)
{
    dropRedo();
    showInstead(document, m_undoDocuments, caret, pending);
}

void ScintillaEdit::showInstead(Document document, std::vector<Document> &keep, long caret,
                                std::string_view pending)
{
    const Document current = SendScintillaPtrResult(SCI_GETDOCPOINTER);
    SendScintilla(SCI_ADDREFDOCUMENT, 0UL, current);
    keep.push_back(current);
    showDocument(document, caret, pending);
    SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);
}

bool ScintillaEdit::canUndoStep()
{
    return SendScintilla(SCI_CANUNDO) != 0 || !m_undoDocuments.empty();
}

bool ScintillaEdit::canRedoStep()
{
    return SendScintilla(SCI_CANREDO) != 0 || !m_redoDocuments.empty();
}

void ScintillaEdit::undoStep()
{
    if (isReadOnly())
        return;
    if (SendScintilla(SCI_CANUNDO)) {
        undo();
        return;
    }
    stepThrough(m_undoDocuments, m_redoDocuments);
}

void ScintillaEdit::redoStep()
{
    if (isReadOnly())
        return;
    if (SendScintilla(SCI_CANREDO)) {
        redo();
        return;
    }
    stepThrough(m_redoDocuments, m_undoDocuments);
}

void ScintillaEdit::stepThrough(std::vector<Document> &from, std::vector<Document> &to)
{
    if (from.empty())
        return;
    const Document document = from.back();
    from.pop_back();
    showInstead(document, to);
}

void ScintillaEdit::dropRedo()
{
    for (const Document document : m_redoDocuments)
        SendScintilla(SCI_RELEASEDOCUMENT, 0UL, document);
    m_redoDocuments.clear();
}

void ScintillaEdit::showDocument(Document document, long caret, std::string_view pending)
{
    m_swapping = true;
    // No wrapping while the document changes: a caret placed in lines not yet wrapped would
    // have every line laid out at once.
    SendScintilla(SCI_SETWRAPMODE, static_cast<unsigned long>(SC_WRAP_NONE));
    SendScintilla(SCI_SETDOCPOINTER, 0UL, document);
    // The code page, the line break and undo belong to the document, not to the view; a loaded
    // document starts without undo.
    SendScintilla(SCI_SETCODEPAGE, static_cast<unsigned long>(SC_CP_UTF8));
    if (!pending.empty()) {
        // Not an edit to undo: the whole document is the one step.
        SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
        SendScintilla(SCI_APPENDTEXT, static_cast<uintptr_t>(pending.size()), pending.data());
    }
    SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
    SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(SC_EOL_CRLF));
    if (caret) {
        SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(caret));
        SendScintilla(SCI_SCROLLCARET);
    }
    m_swapping = false;
    fitWrapToSize();
}

void ScintillaEdit::fitWrapToSize()
{
    const bool wrap = SendScintilla(SCI_GETLENGTH) <= wrapLimit;
    const auto mode = static_cast<long>(wrap ? SC_WRAP_WORD : SC_WRAP_NONE);
    if (SendScintilla(SCI_GETWRAPMODE) == mode)
        return;
    SendScintilla(SCI_SETWRAPMODE, static_cast<unsigned long>(mode));
    SendScintilla(SCI_SETHSCROLLBAR, static_cast<unsigned long>(!wrap));
}

void ScintillaEdit::paste()
{
    const QMimeData *source = QGuiApplication::clipboard()->mimeData();
    if (isReadOnly() || !source || !source->hasText())
        return;
    if (const QString text = source->text(); text.size() >= backgroundPasteCharacters) {
        const auto start = static_cast<std::size_t>(SendScintilla(SCI_GETSELECTIONSTART));
        const auto end = static_cast<std::size_t>(SendScintilla(SCI_GETSELECTIONEND));
        const std::string_view all(
            static_cast<const char *>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER)),
            static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH)));
        auto content = newContent();
        setReadOnly(true);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        auto caret = std::make_shared<long>();
        m_pasteJob = new FillJob(
            std::move(content),
            [=](TextBox::Content &pasted) {
                const QByteArray utf8 = pastedLineBreaks(thisPlatform(), text.toUtf8());
                pasted.add(all.data(), start);
                pasted.add(utf8.constData(), static_cast<std::size_t>(utf8.size()));
                pasted.add(all.data() + end, all.size() - end);
                *caret = static_cast<long>(start) + utf8.size();
            },
            this);
        connect(m_pasteJob, &FillJob::finished, this, [this, caret] {
            m_pasteCaret = *caret;
            finishPaste();
        });
        return;
    }
    bool rectangular = false;
    const QByteArray text = fromMimeData(source, rectangular);
    // With wrapping on, the caret's move past lines not yet wrapped would wrap them all at once;
    // off for the while, they are wrapped afterwards, in steps, from what is in view.
    m_swapping = true;
    SendScintilla(SCI_SETWRAPMODE, static_cast<unsigned long>(SC_WRAP_NONE));
    SendScintilla(SCI_BEGINUNDOACTION);
    SendScintilla(SCI_REPLACESEL, 0UL, "");
    SendScintilla(SCI_ADDTEXT, static_cast<unsigned long>(text.size()), text.constData());
    SendScintilla(SCI_ENDUNDOACTION);
    SendScintilla(SCI_SCROLLCARET);
    m_swapping = false;
    dropRedo();
    fitWrapToSize();
}

void ScintillaEdit::finishPaste()
{
    FillJob::Result result = m_pasteJob->take();
    m_pasteJob->deleteLater();
    m_pasteJob = nullptr;
    QGuiApplication::restoreOverrideCursor();
    setReadOnly(false);
    if (result.error) {
        if (!m_backgroundError)
            std::rethrow_exception(result.error);
        m_backgroundError(result.error);
        return;
    }
    swapIn(std::move(result.content), m_pasteCaret);
}

void ScintillaEdit::keyPressEvent(QKeyEvent *event)
{
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)
        && !(modifiers & (Qt::ControlModifier | Qt::AltModifier))) {
        // A plain text box passes the focus on; QScintilla would type a tab.
        QWidget::focusNextPrevChild(event->key() == Qt::Key_Tab
                                    && !(modifiers & Qt::ShiftModifier));
        return;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    if (event->matches(QKeySequence::Undo)) {
        undoStep();
        return;
    }
    if (event->matches(QKeySequence::Redo)
        || (event->key() == Qt::Key_Y && modifiers == Qt::ControlModifier)) {
        redoStep();
        return;
    }
    QsciScintilla::keyPressEvent(event);
}

void ScintillaEdit::contextMenuEvent(QContextMenuEvent *event)
{
    // QScintilla's own menu comes in English only; this one reads as the rest of the window.
    QMenu menu(this);
    const bool editable = !isReadOnly();
    const bool selected = hasSelectedText();
    auto add = [&](const QString &text, const QKeySequence &keys, bool enabled, auto slot) {
        QAction *action = menu.addAction(text, this, slot);
        action->setShortcut(keys);
        action->setEnabled(enabled);
    };
    add(QStringLiteral("撤销(&U)"), QKeySequence::Undo, editable && canUndoStep(),
        &ScintillaEdit::undoStep);
    add(QStringLiteral("重做(&R)"), QKeySequence(Qt::CTRL | Qt::Key_Y), editable && canRedoStep(),
        &ScintillaEdit::redoStep);
    menu.addSeparator();
    add(QStringLiteral("剪切(&T)"), QKeySequence::Cut, editable && selected, &QsciScintilla::cut);
    add(QStringLiteral("复制(&C)"), QKeySequence::Copy, selected, &QsciScintilla::copy);
    add(QStringLiteral("粘贴(&P)"), QKeySequence::Paste, editable && SendScintilla(SCI_CANPASTE),
        &ScintillaEdit::paste);
    add(QStringLiteral("删除"), QKeySequence(), editable && selected,
        &QsciScintilla::removeSelectedText);
    menu.addSeparator();
    add(QStringLiteral("全选(&A)"), QKeySequence::SelectAll, length() > 0, [this] { selectAll(); });
    menu.exec(event->globalPos());
}

QByteArray ScintillaEdit::fromMimeData(const QMimeData *source, bool &rectangular) const
{
    const QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
    return pastedLineBreaks(thisPlatform(), text);
}

void ScintillaEdit::inputMethodEvent(QInputMethodEvent *event)
{
    // The commit string goes where the old preedit stood, or where the selection began, and the
    // new preedit right after it.
    const long start = m_preeditLength ? m_preeditStart : SendScintilla(SCI_GETSELECTIONSTART);
    QsciScintilla::inputMethodEvent(event);
    const QByteArray preedit = event->preeditString().toUtf8();
    m_preeditStart = start + event->commitString().toUtf8().size();
    m_preeditLength = preedit.size();
    if (m_preeditLength == 0)
        return;
    // Should QScintilla ever place it elsewhere, the text keeps it rather than lose a character.
    if (bytes(m_preeditStart, m_preeditStart + m_preeditLength) != preedit)
        m_preeditLength = 0;
}

QVariant ScintillaEdit::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query != Qt::ImSurroundingText && query != Qt::ImCursorPosition)
        return QsciScintilla::inputMethodQuery(query);
    // The caret's line without the preedit, as a plain text box reports it.
    const long caret = m_preeditLength ? m_preeditStart : SendScintilla(SCI_GETCURRENTPOS);
    const long line = SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(caret));
    const long lineStart = SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
    const long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
    const QByteArray text = bytes(lineStart, lineEnd);
    const QByteArrayView all(text);
    const QByteArrayView before = all.first(caret - lineStart);
    if (query == Qt::ImCursorPosition)
        return QString::fromUtf8(before).size();
    return QString::fromUtf8(before)
        + QString::fromUtf8(all.sliced(before.size() + m_preeditLength));
}

QMimeData *ScintillaEdit::toMimeData(const QByteArray &text, bool rectangular) const
{
    return QsciScintilla::toMimeData(copiedLineBreaks(thisPlatform(), text), rectangular);
}

QByteArray ScintillaEdit::bytes(long from, long to) const
{
    // Copied out, where a pointer into the document would come back cut to a long's width on
    // 64-bit Windows.
    to = std::min(to, SendScintilla(SCI_GETLENGTH));
    from = std::min(from, to);
    QByteArray text(to - from + 1, '\0');
    SendScintilla(SCI_GETTEXTRANGE, from, to, text.data());
    text.chop(1);
    return text;
}

void ScintillaEdit::changeEvent(QEvent *event)
{
    QsciScintilla::changeEvent(event);
    if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange
        || event->type() == QEvent::FontChange)
        applyLook();
}

void ScintillaEdit::applyLook()
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

ScintillaBox::ScintillaBox(QWidget *parent) : m_edit(new ScintillaEdit(parent)) { }

QWidget *ScintillaBox::widget()
{
    return m_edit;
}

std::string_view ScintillaBox::text()
{
    const auto length = static_cast<std::size_t>(m_edit->SendScintilla(Base::SCI_GETLENGTH));
    const auto *bytes
        = static_cast<const char *>(m_edit->SendScintillaPtrResult(Base::SCI_GETCHARACTERPOINTER));
    const std::string_view all(bytes, length);
    if (m_edit->preeditLength() == 0)
        return all;
    const auto start = static_cast<std::size_t>(m_edit->preeditStart());
    m_withoutPreedit.assign(all.substr(0, start));
    m_withoutPreedit.append(all.substr(start + static_cast<std::size_t>(m_edit->preeditLength())));
    return m_withoutPreedit;
}

bool ScintillaBox::isEmpty() const
{
    return m_edit->SendScintilla(Base::SCI_GETLENGTH) == 0;
}

void ScintillaBox::setBusy(bool busy)
{
    m_edit->setReadOnly(busy);
}

std::unique_ptr<TextBox::Content> ScintillaBox::newContent()
{
    return m_edit->newContent();
}

void ScintillaBox::show(std::unique_ptr<Content> content)
{
    m_edit->swapIn(std::move(content));
}

void ScintillaBox::undo()
{
    m_edit->undoStep();
}

void ScintillaBox::redo()
{
    m_edit->redoStep();
}

} // namespace zanvo
