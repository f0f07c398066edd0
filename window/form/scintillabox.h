// Text1 over Scintilla's messages, written once for every window host: a plain multi-line text
// box with the platform's line breaks on the way in and out, word wrap up to a size, undo that
// covers whole new texts, a large paste made off the UI thread, and the entries of its Chinese
// context menu. A host creates the Scintilla control, sends it what this says through
// ScintillaCalls and forwards its keys, menu and notifications here.
#pragma once

#include "window/form/clipboard.h"
#include "window/form/job.h"
#include "window/form/textbox.h"
#include "window/form/texthistory.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zanvo {

// The one way to the Scintilla control.
class ScintillaCalls {
public:
    virtual ~ScintillaCalls() = default;
    virtual std::intptr_t send(unsigned message, std::uintptr_t wParam = 0,
                               std::intptr_t lParam = 0)
        = 0;
    // Whether a pointer comes back whole from a message that takes arguments; QScintilla cuts
    // it to a long, which on 64-bit Windows is half a pointer.
    virtual bool pointersComeBackWhole() const { return true; }
    // Has the input method commit a composition under way (see TextBox::endComposition).
    virtual void endComposition() = 0;
};

enum class EditCommand {
    Undo,
    Redo,
    Cut,
    Copy,
    Paste,
    Delete,
    SelectAll,
    RemoveDuplicates,
    RemoveBlankLines
};

// One entry of the context menu; a separator stands before an entry that asks for one.
struct MenuEntry {
    EditCommand command;
    std::string_view text;
    bool enabled;
    bool separatorBefore;
};

class ScintillaBox : public TextBox {
public:
    using Document = void *;

    // Copies, cuts and pastes go through clipboard, but for a rectangular selection, which is
    // Scintilla's own.
    ScintillaBox(ScintillaCalls &calls, UiThread &ui, Clipboard &clipboard);
    // Waits for a large paste under way, whose work still reads the text.
    ~ScintillaBox() override;

    // Sets the control up as a plain text box; once, after the control exists.
    void setUp();

    std::string_view text() override;
    bool isEmpty() override;
    std::size_t caret() override;
    void endComposition() override { m_calls.endComposition(); }
    void setBusy(bool busy) override;
    bool isBusy() const override { return m_pasteJob != nullptr; }
    std::unique_ptr<Content> newContent() override;
    void show(std::unique_ptr<Content> content, std::size_t caret) override;

    // Runs a command of the menu or the keyboard, as a handler runs: through the guard, once a
    // composition under way is committed.
    void run(EditCommand command);
    // The menu's entries as they stand; a host ends a composition before it asks, as the menu
    // opens.
    std::vector<MenuEntry> menu();
    bool canUndo();
    bool canRedo();

    // How the box's commands and background work run, so that a run-time error in them is
    // reported as in any handler. Until set, they run as they are.
    void setGuard(std::function<void(const std::function<void()> &)> guard)
    {
        m_guard = std::move(guard);
    }

    // Told, with the message for the user, when a copy or a cut could not put its text on the
    // clipboard: the host says so (a cut then leaves the selection in the box).
    void onClipboardFailed(std::function<void(std::string_view)> failed)
    {
        m_clipboardFailed = std::move(failed);
    }
    // Told when a large paste begins and ends, for the host's busy cursor.
    void onPasting(std::function<void(bool)> pasting) { m_pasting = std::move(pasting); }
    // What the menu's 删除重复行 and 删除空白行 run: the window's own work, which rewrites the
    // whole text.
    void onRemoveDuplicates(std::function<void()> remove)
    {
        m_removeDuplicates = std::move(remove);
    }
    void onRemoveBlankLines(std::function<void()> remove)
    {
        m_removeBlankLines = std::move(remove);
    }

    // From Scintilla's modification notice, with its modification type.
    void modified(int type);

    // An input method's composition, which Scintilla shows in place by holding it in the
    // document for the while, where it is no part of the text: call compositionChanging()
    // before the host hands Scintilla an input method event, and compositionChanged() after.
    void compositionChanging();
    void compositionChanged(std::size_t committedBytes, std::string_view preedit);
    // The caret's line without the composition, split at the caret, as input methods ask.
    std::pair<std::string, std::string> surroundingText();

    // From this many characters on, a paste is made on a worker thread: below it, it takes less
    // than the 100 ms that a person notices.
    static constexpr std::size_t backgroundPasteLength = 1'000'000;
    // Above this many bytes the box does not wrap: Scintilla would lay out every line at once as
    // soon as the caret moved past the lines wrapped so far.
    static constexpr std::size_t wrapLimit = 4 * 1024 * 1024;
    // Undo keeps earlier whole texts (from Start and large pastes) while they add up to no more
    // than this; the last one is kept whatever its size.
    static constexpr std::size_t undoBudget = 128 * 1024 * 1024;
    void setUndoBudget(std::size_t bytes) { m_history.setBudget(bytes); }
    // Below this many bytes a new document counts its positions in 32 bits, as Scintilla's first
    // one does: its line index then takes half the memory, much of what a Start on a text of
    // many short lines costs. Those positions would wrap past 2 GiB, so a paste that would take
    // such a document this far makes a new document, as a large paste does.
    static constexpr std::size_t narrowPositionsLimit = std::size_t(1) << 30;
    // The options of a new document for a text of this many bytes, 0 where that is not known.
    static long documentOptions(std::size_t bytes);
    // Whether a paste of that many characters into a text of textBytes makes a new document.
    static bool pastesIntoNewDocument(std::size_t textBytes, bool widePositions,
                                      std::size_t pasted);

    // Whether new content is filled through Scintilla's loader on the worker thread; where the
    // loader is out of reach it is put into its document on the UI thread instead.
    void loadOffThread(bool offThread) { m_loadsOffThread = offThread; }
    bool wraps();
    // How many whole texts undo and redo keep.
    std::size_t keptTexts() const { return m_history.size(); }

private:
    using Kept = TextHistory::Kept;

    std::intptr_t send(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0)
    {
        return m_calls.send(message, wParam, lParam);
    }
    std::string_view all();
    void execute(EditCommand command);
    // Puts the selection, not a rectangular one, on the clipboard; returns whether it did.
    bool copy();
    void paste();
    void finishPaste(std::exception_ptr error);
    void swapIn(Document document, std::size_t caret, std::string_view pending);
    // Shows document in place of the current one, which it returns with a reference held.
    Kept showInstead(Document document, std::size_t caret = 0, std::string_view pending = {});
    void showDocument(Document document, std::size_t caret, std::string_view pending);
    void undo();
    void redo();
    void showCaretAndWrap();
    void fitWrapToSize();

    ScintillaCalls &m_calls;
    UiThread &m_ui;
    Clipboard &m_clipboard;
    std::function<void(std::string_view)> m_clipboardFailed;
    std::function<void(const std::function<void()> &)> m_guard;
    std::function<void(bool)> m_pasting;
    std::function<void()> m_removeDuplicates;
    std::function<void()> m_removeBlankLines;
    TextHistory m_history {m_calls, undoBudget};
    bool m_loadsOffThread;
    bool m_swapping = false;
    std::unique_ptr<BackgroundJob> m_pasteJob;
    std::unique_ptr<Content> m_pasted;
    std::size_t m_pasteCaret = 0;
    std::size_t m_compositionStart = 0;
    std::size_t m_compositionLength = 0;
    std::string m_withoutComposition; // what text() returns while a composition is shown
};

} // namespace zanvo
