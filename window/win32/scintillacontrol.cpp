// Text1 over Scintilla's Win32 layer.
#include "window/win32/scintillacontrol.h"

#include "runtime/utf16.h"
#include "window/win32/skinpainter.h"

#include <Scintilla.h>
#include <commctrl.h>
#include <imm.h>
#include <optional>
#include <stdexcept>
#include <string>

namespace zanvo {

namespace {

HWND createScintilla(HWND parent, int id)
{
    static const bool registered = Scintilla_RegisterClasses(GetModuleHandleW(nullptr)) != 0;
    if (!registered)
        throw std::runtime_error("cannot register Scintilla's window class");
    HWND window = CreateWindowExW(0, L"Scintilla", L"", WS_CHILD | WS_TABSTOP | WS_VSCROLL, 0, 0, 0,
                                  0, parent, reinterpret_cast<HMENU>(INT_PTR(id)),
                                  GetModuleHandleW(nullptr), nullptr);
    if (!window)
        throw std::runtime_error("cannot create the text box");
    return window;
}

// The input method's string of the kind which (GCS_RESULTSTR, GCS_COMPSTR), as UTF-8.
std::string compositionString(HWND window, DWORD which)
{
    std::string out;
    if (HIMC context = ImmGetContext(window)) {
        const LONG bytes = ImmGetCompositionStringW(context, which, nullptr, 0);
        if (bytes > 0) {
            std::wstring text(static_cast<std::size_t>(bytes) / sizeof(wchar_t), L'\0');
            ImmGetCompositionStringW(context, which, text.data(), static_cast<DWORD>(bytes));
            out = utf8(text);
        }
        ImmReleaseContext(window, context);
    }
    return out;
}

// The command of an edit key of Windows' own edit controls. Scintilla's key map would undo by
// its own history rather than through whole texts, and cut and copy with an eighth of a second's
// patience for a clipboard another program holds, its cut then clearing the selection anyway.
std::optional<EditCommand> editKey(WPARAM key, bool control, bool shift)
{
    if (control && (key == 'Z' || key == 'Y'))
        return key == 'Y' || shift ? EditCommand::Redo : EditCommand::Undo;
    if ((control && key == 'X') || (shift && !control && key == VK_DELETE))
        return EditCommand::Cut;
    if (control && (key == 'C' || key == VK_INSERT))
        return EditCommand::Copy;
    if ((control && key == 'V') || (shift && !control && key == VK_INSERT))
        return EditCommand::Paste;
    return std::nullopt;
}

// Tab and Shift+Tab move the focus on, as in a dialog; the edit keys, and the messages by which
// other programs ask for the same, go to the shared box.
LRESULT CALLBACK boxKeys(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR data)
{
    auto &box = *reinterpret_cast<ScintillaBox *>(data);
    // Ctrl+Alt is AltGr on many keyboard layouts, where it types a character: no edit key.
    const bool ctrlDown = GetKeyState(VK_CONTROL) < 0;
    const bool control = ctrlDown && GetKeyState(VK_MENU) >= 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (message) {
    case WM_IME_COMPOSITION: {
        // Scintilla shows the composition in place, in the document: the box keeps it out of
        // its text, as in the Qt host.
        const std::size_t committed
            = lParam & GCS_RESULTSTR ? compositionString(window, GCS_RESULTSTR).size() : 0;
        const std::string preedit
            = lParam & GCS_COMPSTR ? compositionString(window, GCS_COMPSTR) : std::string();
        box.compositionChanging();
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        box.compositionChanged(committed, preedit);
        return result;
    }
    case WM_IME_ENDCOMPOSITION: {
        box.compositionChanging();
        const LRESULT result = DefSubclassProc(window, message, wParam, lParam);
        box.compositionChanged(0, {});
        return result;
    }
    case WM_GETDLGCODE: {
        LRESULT code = DefSubclassProc(window, message, wParam, lParam);
        // Not DLGC_HASSETSEL: tabbing in would select, and copy, the whole text.
        code &= ~LRESULT(DLGC_HASSETSEL);
        const auto *pending = reinterpret_cast<const MSG *>(lParam);
        if (pending && pending->message == WM_KEYDOWN && pending->wParam == VK_TAB && !control)
            code &= ~LRESULT(DLGC_WANTALLKEYS | DLGC_WANTTAB);
        return code;
    }
    case WM_KEYDOWN:
        if (const std::optional<EditCommand> command = editKey(wParam, control, shift)) {
            box.run(*command);
            return 0;
        }
        break;
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR:
        box.run(message == WM_CUT         ? EditCommand::Cut
                    : message == WM_COPY  ? EditCommand::Copy
                    : message == WM_PASTE ? EditCommand::Paste
                                          : EditCommand::Delete);
        return 0;
    case WM_SYSKEYDOWN:
        // Alt+Backspace is the older undo key, Alt+Shift+Backspace its redo.
        if (wParam == VK_BACK) {
            box.run(shift ? EditCommand::Redo : EditCommand::Undo);
            return 0;
        }
        break;
    case WM_SYSCHAR:
        if (wParam == VK_BACK)
            return 0;
        break;
    case WM_CHAR:
        // The control characters that Ctrl with a letter types are no text.
        if (ctrlDown && wParam < 0x20)
            return 0;
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

} // namespace

ScintillaControl::ScintillaControl(HWND parent, int id, UiThread &ui, Clipboard &clipboard)
    : m_window {createScintilla(parent, id)},
      m_direct(reinterpret_cast<Direct>(SendMessageW(window(), SCI_GETDIRECTFUNCTION, 0, 0))),
      m_pointer(static_cast<std::intptr_t>(SendMessageW(window(), SCI_GETDIRECTPOINTER, 0, 0))),
      m_box(*this, ui, clipboard)
{
    m_box.setUp();
    // Input methods compose in place, and Chinese takes its Simplified glyph forms.
    send(SCI_SETIMEINTERACTION, SC_IME_INLINE, 0);
    send(SCI_SETFONTLOCALE, 0, reinterpret_cast<std::intptr_t>("zh-Hans"));
    SetWindowSubclass(window(), boxKeys, 1, reinterpret_cast<DWORD_PTR>(&m_box));
}

std::intptr_t ScintillaControl::send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    return m_direct(m_pointer, message, wParam, lParam);
}

void ScintillaControl::endComposition()
{
    // Scintilla ends a composition on a left click and on losing the focus, but not on a right
    // click nor when the program reads the text: the input method is asked to commit it.
    if (HIMC context = ImmGetContext(window())) {
        ImmNotifyIME(context, NI_COMPOSITIONSTR, CPS_COMPLETE, 0);
        ImmReleaseContext(window(), context);
    }
}

void ScintillaControl::notified(const NMHDR &header)
{
    const auto &notification = reinterpret_cast<const SCNotification &>(header);
    if (header.code == SCN_MODIFIED)
        m_box.modified(notification.modificationType);
}

void ScintillaControl::applyLook(const LOGFONTW &font, UINT dpi, const SkinLook &look)
{
    // Scintilla takes points and scales them by its own window's DPI.
    const std::string face = utf8(font.lfFaceName);
    send(SCI_STYLESETFONT, STYLE_DEFAULT, reinterpret_cast<std::intptr_t>(face.c_str()));
    send(SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT,
         MulDiv(-font.lfHeight, 72 * SC_FONT_SIZE_MULTIPLIER, static_cast<int>(dpi)));
    if (look.boxBackground)
        send(SCI_STYLESETBACK, STYLE_DEFAULT, colorRef(*look.boxBackground));
    if (look.boxText)
        send(SCI_STYLESETFORE, STYLE_DEFAULT, colorRef(*look.boxText));
    send(SCI_STYLECLEARALL, 0, 0);
    if (look.selectionBackground)
        send(SCI_SETSELBACK, 1, colorRef(*look.selectionBackground));
    if (look.selectionText)
        send(SCI_SETSELFORE, 1, colorRef(*look.selectionText));
}

void ScintillaControl::showMenu(POINT at)
{
    m_box.endComposition();
    const std::vector<MenuEntry> entries = m_box.menu();
    HMENU menu = CreatePopupMenu();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].separatorBefore)
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | (entries[i].enabled ? 0u : UINT(MF_GRAYED)), i + 1,
                    wide(entries[i].text).c_str());
    }
    if (at.x == -1 && at.y == -1) {
        // From the keyboard: at the caret.
        const auto caret = send(SCI_GETCURRENTPOS, 0, 0);
        at = {static_cast<LONG>(send(SCI_POINTXFROMPOSITION, 0, caret)),
              static_cast<LONG>(send(SCI_POINTYFROMPOSITION, 0, caret))};
        ClientToScreen(window(), &at);
    }
    const auto chosen = static_cast<std::size_t>(TrackPopupMenu(
        menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, GetParent(window()), nullptr));
    DestroyMenu(menu);
    if (chosen > 0 && chosen <= entries.size())
        m_box.run(entries[chosen - 1].command);
}

} // namespace zanvo
