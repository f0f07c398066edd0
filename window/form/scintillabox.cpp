// Text1 over Scintilla's messages.
#include "window/form/scintillabox.h"

#include "window/form/form1description.h"
#include "window/form/platform.h"
#include "window/form/scintilla.h"
#include "window/form/scintillacontent.h"

#include <algorithm>
#include <new>
#include <utility>

namespace zanvo {

namespace {

std::intptr_t pointer(const void *p)
{
    return reinterpret_cast<std::intptr_t>(p);
}

} // namespace

ScintillaBox::ScintillaBox(ScintillaCalls &calls, UiThread &ui, Clipboard &clipboard)
    : m_calls(calls),
      m_ui(ui),
      m_clipboard(clipboard),
      m_loadsOffThread(calls.pointersComeBackWhole())
{
}

ScintillaBox::~ScintillaBox()
{
    m_pasteJob.reset();
    m_pasted.reset();
}

void ScintillaBox::setUp()
{
    send(sci::SETCODEPAGE, sci::CP_UTF8);
    send(sci::SETEOLMODE, sci::EOL_CRLF);
    for (std::uintptr_t margin = 0; margin < 5; ++margin)
        send(sci::SETMARGINWIDTHN, margin, 0);
    send(sci::SETMARGINLEFT, 0, 2);
    send(sci::SETMARGINRIGHT, 0, 2);
    send(sci::SETWRAPMODE, sci::WRAP_WORD);
    // The host shows a menu of its own, in Chinese.
    send(sci::USEPOPUP, sci::POPUP_NEVER);
    // A paste's line breaks are made the box's own here, the platform's way: Scintilla's own
    // conversion would turn every lone CR or LF into a line break as well.
    send(sci::SETPASTECONVERTENDINGS, 0);
    // Lays out only the lines in view, instead of keeping every line's layout.
    send(sci::SETLAYOUTCACHE, sci::CACHE_PAGE);
    send(sci::SETSCROLLWIDTH, 1);
    send(sci::SETSCROLLWIDTHTRACKING, 1);
}

std::string_view ScintillaBox::all()
{
    const auto *bytes = reinterpret_cast<const char *>(send(sci::GETCHARACTERPOINTER));
    return {bytes, static_cast<std::size_t>(send(sci::GETLENGTH))};
}

std::string_view ScintillaBox::text()
{
    const std::string_view whole = all();
    if (m_compositionLength == 0)
        return whole;
    m_withoutComposition.assign(whole.substr(0, m_compositionStart));
    m_withoutComposition.append(whole.substr(m_compositionStart + m_compositionLength));
    return m_withoutComposition;
}

bool ScintillaBox::isEmpty()
{
    return send(sci::GETLENGTH) == 0;
}

std::size_t ScintillaBox::caret()
{
    return static_cast<std::size_t>(send(sci::GETCURRENTPOS));
}

void ScintillaBox::setBusy(bool busy)
{
    send(sci::SETREADONLY, busy);
}

std::unique_ptr<TextBox::Content> ScintillaBox::newContent()
{
    return ScintillaContent::make(m_calls, m_loadsOffThread);
}

void ScintillaBox::show(std::unique_ptr<Content> content, std::size_t caret)
{
    auto &filled = static_cast<ScintillaContent &>(*content);
    swapIn(filled.take(), caret, filled.pending());
}

void ScintillaBox::swapIn(Document document, std::size_t caret, std::string_view pending)
{
    m_history.keepAfterStep(showInstead(document, caret, pending));
}

ScintillaBox::Kept ScintillaBox::showInstead(Document document, std::size_t caret,
                                             std::string_view pending)
{
    const auto current = reinterpret_cast<Document>(send(sci::GETDOCPOINTER));
    send(sci::ADDREFDOCUMENT, 0, pointer(current));
    const Kept shown {current, static_cast<std::size_t>(send(sci::GETLENGTH))};
    showDocument(document, caret, pending);
    send(sci::RELEASEDOCUMENT, 0, pointer(document));
    return shown;
}

void ScintillaBox::showDocument(Document document, std::size_t caret, std::string_view pending)
{
    m_swapping = true;
    // No wrapping while the document changes: a caret placed in lines not yet wrapped would
    // have every line laid out at once.
    send(sci::SETWRAPMODE, sci::WRAP_NONE);
    send(sci::SETDOCPOINTER, 0, pointer(document));
    // The code page, the line break and undo belong to the document, not to the view; a loaded
    // document starts without undo.
    send(sci::SETCODEPAGE, sci::CP_UTF8);
    if (!pending.empty()) {
        // Not an edit to undo: the whole document is the one step.
        send(sci::SETUNDOCOLLECTION, 0);
        send(sci::APPENDTEXT, pending.size(), pointer(pending.data()));
    }
    send(sci::SETUNDOCOLLECTION, 1);
    send(sci::SETEOLMODE, sci::EOL_CRLF);
    m_swapping = false;
    if (caret) {
        send(sci::SETEMPTYSELECTION, caret);
        showCaretAndWrap();
    } else {
        fitWrapToSize();
    }
}

bool ScintillaBox::canUndo()
{
    return send(sci::CANUNDO) != 0 || m_history.canGoBack();
}

bool ScintillaBox::canRedo()
{
    return send(sci::CANREDO) != 0 || m_history.canGoForward();
}

void ScintillaBox::undo()
{
    if (send(sci::GETREADONLY))
        return;
    if (send(sci::CANUNDO)) {
        send(sci::UNDO);
        return;
    }
    if (const auto earlier = m_history.takeBack())
        m_history.keepForward(showInstead(*earlier));
}

void ScintillaBox::redo()
{
    if (send(sci::GETREADONLY))
        return;
    if (send(sci::CANREDO)) {
        send(sci::REDO);
        return;
    }
    if (const auto later = m_history.takeForward())
        m_history.keepBack(showInstead(*later));
}

void ScintillaBox::modified(int type)
{
    if (m_swapping || !(type & (sci::MOD_INSERTTEXT | sci::MOD_DELETETEXT)))
        return;
    // A new edit after undoing a Start ends the way back to what it had made.
    if (type & sci::PERFORMED_USER)
        m_history.dropForward();
    fitWrapToSize();
}

bool ScintillaBox::wraps()
{
    return send(sci::GETWRAPMODE) == sci::WRAP_WORD;
}

void ScintillaBox::showCaretAndWrap()
{
    // Scrolling to the caret lays its line out. Before wrapping is back, lines not yet wrapped
    // stay so, but that layout is thrown away when wrapping comes back; after, every line above
    // the caret's is laid out too. The caret's line against those above it says which costs
    // less: one line of 2 MB takes a third of a second to lay out.
    const auto line = static_cast<std::uintptr_t>(
        send(sci::LINEFROMPOSITION, static_cast<std::uintptr_t>(send(sci::GETCURRENTPOS))));
    const auto lineStart = send(sci::POSITIONFROMLINE, line);
    const bool afterWrapping = send(sci::GETLINEENDPOSITION, line) - lineStart > lineStart;
    if (!afterWrapping)
        send(sci::SCROLLCARET);
    fitWrapToSize();
    if (afterWrapping)
        send(sci::SCROLLCARET);
}

void ScintillaBox::fitWrapToSize()
{
    const bool wrap = static_cast<std::size_t>(send(sci::GETLENGTH)) <= wrapLimit;
    if (wraps() == wrap)
        return;
    send(sci::SETWRAPMODE, wrap ? sci::WRAP_WORD : sci::WRAP_NONE);
    send(sci::SETHSCROLLBAR, !wrap);
}

void ScintillaBox::run(EditCommand command)
{
    const auto work = [&] {
        endComposition();
        execute(command);
    };
    if (m_guard)
        m_guard(work);
    else
        work();
}

void ScintillaBox::execute(EditCommand command)
{
    switch (command) {
    case EditCommand::Undo:
        return undo();
    case EditCommand::Redo:
        return redo();
    case EditCommand::Cut:
        if (send(sci::GETREADONLY) != 0)
            return;
        if (send(sci::SELECTIONISRECTANGLE) != 0)
            send(sci::CUT);
        else if (copy())
            send(sci::CLEAR);
        return;
    case EditCommand::Copy:
        if (send(sci::SELECTIONISRECTANGLE) != 0)
            send(sci::COPY);
        else
            copy();
        return;
    case EditCommand::Paste:
        return paste();
    case EditCommand::Delete:
        send(sci::CLEAR);
        return;
    case EditCommand::SelectAll:
        send(sci::SELECTALL);
        return;
    case EditCommand::RemoveDuplicates:
        if (m_removeDuplicates)
            m_removeDuplicates();
        return;
    case EditCommand::RemoveBlankLines:
        if (m_removeBlankLines)
            m_removeBlankLines();
        return;
    }
}

std::vector<MenuEntry> ScintillaBox::menu()
{
    const bool editable = !send(sci::GETREADONLY);
    const bool selected = send(sci::GETSELECTIONSTART) != send(sci::GETSELECTIONEND);
    return {
        {EditCommand::Undo, "撤销(&U)", editable && canUndo(), false},
        {EditCommand::Redo, "重做(&R)", editable && canRedo(), false},
        {EditCommand::Cut, "剪切(&T)", editable && selected, true},
        {EditCommand::Copy, "复制(&C)", selected, false},
        {EditCommand::Paste, "粘贴(&P)", editable && send(sci::CANPASTE) != 0, false},
        {EditCommand::Delete, "删除", editable && selected, false},
        {EditCommand::SelectAll, "全选(&A)", !isEmpty(), true},
        {EditCommand::RemoveDuplicates, "删除重复行", editable && !isEmpty() && m_removeDuplicates,
         false},
        {EditCommand::RemoveBlankLines, "删除空白行", editable && !isEmpty() && m_removeBlankLines,
         false},
    };
}

// The selection as it stands, NULs and all, where the host can put any text on the clipboard;
// false where Scintilla's own copy is to do it: a rectangle's rows are Scintilla's to join.
bool ScintillaBox::copy()
{
    const auto start = static_cast<std::size_t>(send(sci::GETSELECTIONSTART));
    const auto end = static_cast<std::size_t>(send(sci::GETSELECTIONEND));
    if (start == end)
        return false;
    auto content = m_clipboard.newContent();
    content->add(copiedLineBreaks(thisPlatform(), all().substr(start, end - start)));
    content->finish();
    const ClipboardPut put = m_clipboard.put(std::move(content));
    if (put == ClipboardPut::Done)
        return true;
    if (m_clipboardFailed)
        m_clipboardFailed(form1::clipboardFailure(put));
    return false;
}

long ScintillaBox::documentOptions(std::size_t bytes)
{
    return sci::DOCUMENTOPTION_STYLES_NONE
        | (bytes && bytes < narrowPositionsLimit ? 0 : sci::DOCUMENTOPTION_TEXT_LARGE);
}

bool ScintillaBox::pastesIntoNewDocument(std::size_t textBytes, bool widePositions,
                                         std::size_t pasted)
{
    return pasted >= backgroundPasteLength
        || (!widePositions && textBytes + pasted >= narrowPositionsLimit);
}

void ScintillaBox::paste()
{
    if (send(sci::GETREADONLY) || m_pasteJob)
        return;
    std::optional<ClipboardText> clip = m_clipboard.text();
    if (!clip)
        return;
    const auto start = static_cast<std::size_t>(send(sci::GETSELECTIONSTART));
    const auto end = static_cast<std::size_t>(send(sci::GETSELECTIONEND));
    const bool wide = send(sci::GETDOCUMENTOPTIONS) & sci::DOCUMENTOPTION_TEXT_LARGE;
    if (pastesIntoNewDocument(static_cast<std::size_t>(send(sci::GETLENGTH)), wide, clip->length)) {
        const std::string_view whole = all();
        m_pasted = newContent();
        setBusy(true);
        if (m_pasting)
            m_pasting(true);
        m_pasteJob = std::make_unique<BackgroundJob>(
            m_ui,
            // Moved, not copied: a reader may hold the clipboard's whole text.
            [this, whole, start, end, read = std::move(clip->utf8), pasted = m_pasted.get()] {
                const std::string utf8 = pastedLineBreaks(thisPlatform(), read());
                pasted->reserve(whole.size() - (end - start) + utf8.size());
                pasted->add(whole.data(), start);
                pasted->add(utf8.data(), utf8.size());
                pasted->add(whole.data() + end, whole.size() - end);
                pasted->finish();
                m_pasteCaret = start + utf8.size();
            },
            [this](std::exception_ptr error) {
                if (m_guard)
                    m_guard([&] { finishPaste(error); });
                else
                    finishPaste(error);
            });
        return;
    }
    const std::string utf8 = pastedLineBreaks(thisPlatform(), clip->utf8());
    // With wrapping on, the caret's move past lines not yet wrapped would wrap them all at once;
    // off for the while, they are wrapped afterwards, in steps, from what is in view.
    m_swapping = true;
    send(sci::SETWRAPMODE, sci::WRAP_NONE);
    send(sci::BEGINUNDOACTION);
    send(sci::REPLACESEL, 0, pointer(""));
    send(sci::ADDTEXT, utf8.size(), pointer(utf8.data()));
    send(sci::ENDUNDOACTION);
    m_swapping = false;
    m_history.dropForward();
    showCaretAndWrap();
}

void ScintillaBox::finishPaste(std::exception_ptr error)
{
    m_pasteJob.reset();
    auto pasted = std::move(m_pasted);
    setBusy(false);
    if (m_pasting)
        m_pasting(false);
    if (error)
        std::rethrow_exception(error);
    auto &filled = static_cast<ScintillaContent &>(*pasted);
    swapIn(filled.take(), m_pasteCaret, filled.pending());
}

void ScintillaBox::compositionChanging()
{
    if (m_compositionLength == 0)
        m_compositionStart = static_cast<std::size_t>(send(sci::GETSELECTIONSTART));
}

void ScintillaBox::compositionChanged(std::size_t committedBytes, std::string_view preedit)
{
    // The commit goes where the old composition stood, or where the selection began, and the new
    // composition right after it.
    m_compositionStart += committedBytes;
    m_compositionLength = preedit.size();
    // Should Scintilla ever place it elsewhere, the text keeps it rather than lose a character.
    if (m_compositionLength && all().substr(m_compositionStart, m_compositionLength) != preedit)
        m_compositionLength = 0;
}

std::pair<std::string, std::string> ScintillaBox::surroundingText()
{
    const auto caret = m_compositionLength ? m_compositionStart
                                           : static_cast<std::size_t>(send(sci::GETCURRENTPOS));
    const auto line = static_cast<std::uintptr_t>(send(sci::LINEFROMPOSITION, caret));
    const auto lineStart = static_cast<std::size_t>(send(sci::POSITIONFROMLINE, line));
    const auto lineEnd = static_cast<std::size_t>(send(sci::GETLINEENDPOSITION, line));
    const std::string_view text = all().substr(lineStart, lineEnd - lineStart);
    const std::string_view before = text.substr(0, caret - lineStart);
    return {std::string(before),
            std::string(text.substr(std::min(text.size(), before.size() + m_compositionLength)))};
}

} // namespace zanvo
