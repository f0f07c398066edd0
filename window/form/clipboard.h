// The system clipboard as the window uses it, one way out and one way in for every host. Start's
// result and the box's copy go out as new content, filled on any one thread and put on the
// clipboard in one go on the UI thread, as the box's new text is; the box's paste reads in
// through text(), whose conversion may also run on a worker.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace zanvo {

// The clipboard's text as the host finds it: its length in the clipboard's own units, and a way
// to read it as UTF-8 that works on any thread.
struct ClipboardText {
    std::size_t length;
    std::function<std::string()> utf8;
};

enum class ClipboardPut {
    Done,
    Held, // another program held the clipboard throughout (for about two seconds): it is as it was
    Emptied, // the system took no text after the clipboard was emptied: what it held is gone
};

class Clipboard {
public:
    // New text for the clipboard, in the form the clipboard takes it.
    class Content {
    public:
        virtual ~Content() = default;
        // Room for about bytes more of UTF-8, where the text's size is known ahead.
        virtual void reserve(std::size_t bytes) = 0;
        // Appends UTF-8 text with the platform's own line breaks (appendCopiedLineBreaks), in
        // pieces that end between characters.
        virtual void add(std::string_view utf8) = 0;
        // Called once after the last add(), on the same thread.
        virtual void finish() = 0;
    };

    virtual ~Clipboard() = default;
    // Begins new content (UI thread).
    virtual std::unique_ptr<Content> newContent() = 0;
    // Puts filled content on the clipboard in place of all it held, at once (UI thread). Where
    // it could not, the caller says why (clipboardFailure).
    virtual ClipboardPut put(std::unique_ptr<Content> content) = 0;
    // The clipboard's text, or nothing where it holds none or could not be had.
    virtual std::optional<ClipboardText> text() = 0;
};

} // namespace zanvo
