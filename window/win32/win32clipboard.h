// The clipboard over Win32: Unicode text with CR LF, marked as Chinese (PRC) text, in memory
// that a worker fills and the UI thread hands to Windows whole.
#pragma once

#include "window/form/clipboard.h"

#include <windows.h>

namespace zanvo {

// The locale the text is marked with. Windows makes the ANSI text that older programs paste
// (CF_TEXT) in the code page of this locale, 936; without it, in that of the keyboard layout in
// use, where an English layout turns Chinese into "????".
inline constexpr LCID clipboardLocale
    = MAKELCID(MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED), SORT_DEFAULT);

class Win32Clipboard : public Clipboard {
public:
    // owner owns what the program puts on the clipboard: a clipboard opened without an owner
    // takes no data.
    explicit Win32Clipboard(HWND owner) : m_owner(owner) { }

    std::unique_ptr<Content> newContent() override;
    // Opens the clipboard once to empty it and set the text and its locale, trying again for
    // about two seconds while another program (a clipboard history, a remote desktop, an input
    // method's helper) holds it.
    bool put(std::unique_ptr<Content> content) override;
    // Tries for as long as put() does.
    std::optional<ClipboardText> text() override;

private:
    HWND m_owner;
};

} // namespace zanvo
