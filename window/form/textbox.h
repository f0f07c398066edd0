// Text1 as the handlers see it: the whole text out exactly as typed, new content built off the UI
// thread and shown as one step that undo takes back.
#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace zanvo {

class TextBox {
public:
    // New content for the box, filled on any one thread, then handed to show() on the UI thread.
    class Content {
    public:
        virtual ~Content() = default;
        // How many bytes the adds will bring, where the writer knows before the first one.
        virtual void reserve(std::size_t) { }
        virtual void add(const char *utf8, std::size_t size) = 0;
        // Called once after the last add(), on the same thread.
        virtual void finish() = 0;
    };

    virtual ~TextBox() = default;

    // The whole text as UTF-8, lines separated by CR LF, every other character as typed, NUL
    // included. The view stays valid until the text changes; setBusy(true) keeps it from
    // changing.
    virtual std::string_view text() = 0;
    virtual bool isEmpty() = 0;
    // The caret's place in text(), in bytes.
    virtual std::size_t caret() = 0;
    // Ends an input method's composition under way: the input method commits it into the text,
    // as a click elsewhere would. A handler calls it before it reads the text, so that nothing
    // typed is left out, nor half-typed text taken for typed.
    virtual void endComposition() = 0;

    // While busy, the box takes no edit.
    virtual void setBusy(bool busy) = 0;
    // Whether the box is at work of its own (a large paste), its text about to change.
    virtual bool isBusy() const = 0;

    // Begins new content (UI thread).
    virtual std::unique_ptr<Content> newContent() = 0;
    // Shows filled content in place of the whole text, as one step that undo takes back, the
    // caret at byte caret (UI thread).
    virtual void show(std::unique_ptr<Content> content, std::size_t caret) = 0;

    // Replaces the whole text with utf8, as show() does.
    void replace(std::string_view utf8);
};

} // namespace zanvo
