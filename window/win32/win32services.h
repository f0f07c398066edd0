// The window's platform services over Win32: the clock, the clipboard, the process start and the
// program's folder.
#pragma once

#include "window/form/form1.h"
#include "window/win32/win32clipboard.h"

#include <windows.h>

namespace zanvo {

// The command line CreateProcessW takes for program and arguments: each quoted where it holds a
// space, a tab or a quote, as the C runtime splits it again.
std::wstring commandLine(std::string_view program, const std::vector<std::string> &arguments);

class Win32Services : public FormServices {
public:
    Win32Services();
    ~Win32Services() override;
    Win32Services(const Win32Services &) = delete;
    Win32Services &operator=(const Win32Services &) = delete;

    float secondsSinceMidnight() override;
    Clipboard &clipboard() override { return m_clipboard; }
    bool processStart(std::string_view program, const std::vector<std::string> &arguments,
                      bool minimised) override;
    std::string applicationFolder() override;

private:
    // Owns what the program puts on the clipboard: a clipboard opened without an owner takes no
    // data.
    HWND m_owner;
    Win32Clipboard m_clipboard;
};

} // namespace zanvo
