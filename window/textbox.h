// Text1 behind a small interface of the program's own, so that the widget under it can be
// swapped: the whole text out exactly as typed, new content built off the UI thread and shown as
// one step that undo takes back, and the widget itself.
#pragma once

#include <QString>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <string_view>

class QWidget;

namespace zanvo {

class TextBox {
public:
    // New content for the box, filled on any one thread, then handed to show() on the UI thread.
    class Content {
    public:
        virtual ~Content() = default;
        // Appends UTF-8 text.
        virtual void add(const char *utf8, std::size_t size) = 0;
        // Called once after the last add(), on the same thread.
        virtual void finish() = 0;
    };

    virtual ~TextBox() = default;

    virtual QWidget *widget() = 0;

    // The whole text as UTF-8, lines separated by CR LF, every other character as typed. The
    // view stays valid until the text changes; setBusy(true) keeps it from changing.
    virtual std::string_view text() = 0;
    virtual bool isEmpty() const = 0;

    // While busy, the box takes no edit.
    virtual void setBusy(bool busy) = 0;
    // Whether the box is at work of its own (a large paste), its text about to change.
    virtual bool isBusy() const { return false; }

    // Begins new content (UI thread).
    virtual std::unique_ptr<Content> newContent() = 0;
    // Shows filled content in place of the whole text, as one step that undo() takes back
    // (UI thread).
    virtual void show(std::unique_ptr<Content> content) = 0;

    virtual void undo() = 0;
    virtual void redo() = 0;

    // Where a run-time error raised by the box's own work beside the window goes (a large
    // paste); a box that does no such work has none to report.
    virtual void onBackgroundError(std::function<void(std::exception_ptr)>) { }

    // Replaces the whole text with text, as show() does.
    void replace(const QString &text);
    // The whole text as a QString.
    QString plainText();
};

enum class TextBoxKind {
    Scintilla, // Scintilla's editing component: fast on any size and any line length
    Plain, // Qt's own plain-text box, kept for comparison and as a fallback
};

// A text box of the given kind, its widget a child of parent named Text1.
std::unique_ptr<TextBox> makeTextBox(TextBoxKind kind, QWidget *parent);

} // namespace zanvo
