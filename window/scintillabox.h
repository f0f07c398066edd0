// Text1 as Scintilla's editing component, set up as a plain multi-line text box: the platform's
// font, word wrap, no margins, the skin's colours, Tab moving the focus, a Chinese context menu.
// Its document takes text at memory speed and lays out only what is shown, and a new document
// can be filled on a worker thread and swapped in, so no text freezes the window.
#pragma once

#include "window/textbox.h"

#include <Qsci/qsciscintilla.h>
#include <string>
#include <string_view>
#include <vector>

namespace zanvo {

// The widget. Undo and redo cover both the edits inside a document and the swaps of whole
// documents that show() makes, as one history.
class FillJob;

class ScintillaEdit : public QsciScintilla {
    Q_OBJECT
public:
    // A Scintilla document, as Scintilla hands it out.
    using Document = void *;

    explicit ScintillaEdit(QWidget *parent);
    ~ScintillaEdit() override;

    // Shows document (one reference held by the caller, which this takes over) in place of the
    // current one, which is kept for undo; pending is text still to put into it.
    void swapIn(Document document, long caret = 0, std::string_view pending = {});
    void undoStep();
    void redoStep();
    bool canUndoStep();
    bool canRedoStep();

    // Pastes the clipboard's text with only its line breaks made the box's own: Scintilla's own
    // paste would turn every lone CR or LF into a line break as well. A large text is put
    // together with the box's on a worker thread and swapped in, as Start's result is.
    void paste() override;
    // Whether a large paste is under way.
    bool pasting() const { return m_pasteJob != nullptr; }
    // Where a run-time error of a large paste goes.
    void onBackgroundError(std::function<void(std::exception_ptr)> handler)
    {
        m_backgroundError = std::move(handler);
    }

    // New content for the box, to be filled on any one thread and given to swapIn(). It goes
    // into its document on that thread where Scintilla's loader can be reached, which QScintilla
    // allows only where a pointer fits a long: on 64-bit Windows the text is put into the new
    // document on the UI thread instead.
    std::unique_ptr<TextBox::Content> newContent();
    void loadOffThread(bool offThread) { m_loadsOffThread = offThread; }
    // Shows filled content as swapIn() shows a document, the caret at caret (bytes).
    void swapIn(std::unique_ptr<TextBox::Content> content, long caret = 0);

    // From this many characters on, a paste is made on a worker thread: below it, it takes less
    // than the 100 ms that a person notices (measured: 1 MB of text in 26 ms).
    static constexpr qsizetype backgroundPasteCharacters = 1'000'000;

    // Where an input method's preedit stands in the document, in bytes; length 0 where there is
    // none. Scintilla shows the preedit in place by holding it in the document for the while,
    // where it is no part of the text.
    long preeditStart() const { return m_preeditStart; }
    long preeditLength() const { return m_preeditLength; }

    // Above this many bytes the box does not wrap: Scintilla would lay out every line at once as
    // soon as the caret moved past the lines wrapped so far.
    static constexpr long wrapLimit = 4 * 1024 * 1024;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    QByteArray fromMimeData(const QMimeData *source, bool &rectangular) const override;
    QMimeData *toMimeData(const QByteArray &text, bool rectangular) const override;
    void changeEvent(QEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

private:
    void showDocument(Document document, long caret = 0, std::string_view pending = {});
    // Shows document (whose reference this takes over) and keeps the current one at the end of
    // keep.
    void showInstead(Document document, std::vector<Document> &keep, long caret = 0,
                     std::string_view pending = {});
    // The document's bytes from from up to to.
    QByteArray bytes(long from, long to) const;
    void finishPaste();
    void fitWrapToSize();
    void applyLook();
    void dropRedo();
    // Shows the last document of from, the current one kept at the end of to.
    void stepThrough(std::vector<Document> &from, std::vector<Document> &to);

    std::vector<Document> m_undoDocuments;
    std::vector<Document> m_redoDocuments;
    bool m_loadsOffThread = sizeof(long) >= sizeof(void *);
    bool m_swapping = false;
    FillJob *m_pasteJob = nullptr;
    std::function<void(std::exception_ptr)> m_backgroundError;
    long m_pasteCaret = 0;
    long m_preeditStart = 0;
    long m_preeditLength = 0;
};

class ScintillaBox : public TextBox {
public:
    explicit ScintillaBox(QWidget *parent);

    QWidget *widget() override;
    std::string_view text() override;
    bool isEmpty() const override;
    void setBusy(bool busy) override;
    bool isBusy() const override { return m_edit->pasting(); }
    void onBackgroundError(std::function<void(std::exception_ptr)> handler) override
    {
        m_edit->onBackgroundError(std::move(handler));
    }
    std::unique_ptr<Content> newContent() override;
    void show(std::unique_ptr<Content> content) override;
    void undo() override;
    void redo() override;

private:
    ScintillaEdit *m_edit;
    std::string m_withoutPreedit; // what text() returns while a preedit stands in the document
};

} // namespace zanvo
