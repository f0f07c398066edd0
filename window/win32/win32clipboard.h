// The clipboard over Win32: Unicode text with CR LF, marked with the system's locale, in memory
// that a worker fills and the UI thread hands to Windows whole.
#pragma once

#include "window/form/clipboard.h"

#include <windows.h>

namespace zanvo {

class Win32Clipboard : public Clipboard {
public:
    // owner owns what the program puts on the clipboard: a clipboard opened without an owner
    // takes no data.
    explicit Win32Clipboard(HWND owner) : m_owner(owner) { }

    std::unique_ptr<Content> newContent() override;
    // Opens the clipboard once to empty it and set the text and its locale, trying again for
    // about two seconds while another program (a clipboard history, a remote desktop, an input
    // method's helper) holds it. The text is marked with the system's locale: Windows makes
    // the ANSI text that older programs paste (CF_TEXT) in its code page (936 on Chinese Windows
    // of the PRC, 950 in Taiwan and Hong Kong) rather than in that of the keyboard layout in use,
    // where an English layout turns Chinese into "????".
    ClipboardPut put(std::unique_ptr<Content> content) override;
    // Tries for as long as put() does.
    std::optional<ClipboardText> text() override;

private:
    HWND m_owner;
};

} // namespace zanvo
