// Text1 over Scintilla's Win32 layer.
#include "window/win32/scintillacontrol.h"

#include "runtime/utf16.h"

#include <Scintilla.h>
#include <imm.h>
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

} // namespace

ScintillaControl::ScintillaControl(HWND parent, int id, UiThread &ui, Clipboard &clipboard)
    : m_window {createScintilla(parent, id)},
      m_direct(reinterpret_cast<Direct>(SendMessageW(window(), SCI_GETDIRECTFUNCTION, 0, 0))),
      m_pointer(static_cast<std::intptr_t>(SendMessageW(window(), SCI_GETDIRECTPOINTER, 0, 0))),
      m_box(*this, ui, clipboard)
{
    m_box.setUp();
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

} // namespace zanvo
