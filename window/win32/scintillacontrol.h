// Text1 as Scintilla's own Win32 layer draws it: a Scintilla window under the shared text box,
// which sends its messages through Scintilla's direct function.
#pragma once

#include "window/form/scintillabox.h"
#include "window/form/skinlook.h"

#include <windows.h>

namespace zanvo {

class ScintillaControl : public ScintillaCalls {
public:
    // Creates the control as child id of parent; it is placed and shown by the parent.
    ScintillaControl(HWND parent, int id, UiThread &ui, Clipboard &clipboard);
    ScintillaControl(const ScintillaControl &) = delete;
    ScintillaControl &operator=(const ScintillaControl &) = delete;

    HWND window() const { return m_window.handle; }
    ScintillaBox &box() { return m_box; }

    std::intptr_t send(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void endComposition() override;

    // Shows the box's context menu at a point on the screen, or at the caret for (-1, -1), the
    // keyboard's menu, and runs the command chosen.
    void showMenu(POINT at);

    // The parent's WM_NOTIFY from this control: Scintilla's notification.
    void notified(const NMHDR &header);

    // Draws the text in font, whose height is in pixels at dpi, and in the skin's colours for the
    // box and its selection, where it gives them.
    void applyLook(const LOGFONTW &font, UINT dpi, const SkinLook &look);

private:
    using Direct = std::intptr_t (*)(std::intptr_t, unsigned, std::uintptr_t, std::intptr_t);

    // Destroyed after the box, which gives its documents back to Scintilla as it goes.
    struct Window {
        HWND handle;
        ~Window() { DestroyWindow(handle); }
    };

    Window m_window;
    Direct m_direct;
    std::intptr_t m_pointer;
    ScintillaBox m_box;
};

} // namespace zanvo
