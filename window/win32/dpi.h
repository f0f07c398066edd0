// The DPI a window is drawn at, on every Windows from 7 on: the functions of Windows 10 are
// looked up where they exist; on Windows 7 the program takes the system's DPI, which is all there
// is.
#pragma once

#include <windows.h>

namespace zanvo {

// A function of user32 that a later Windows added; null where this one lacks it.
template<class Function> Function user32(const char *name)
{
    return reinterpret_cast<Function>(
        reinterpret_cast<void *>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The DPI of window's monitor, or the system's where window is null or Windows cannot say.
UINT dpiOf(HWND window);

// The outer size of a window of style and exStyle, without a menu, whose client area is client at
// dpi.
SIZE outerSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi);

// Has the title bar and borders of window, in its WM_NCCREATE, follow the monitor's DPI under the
// first per-monitor model too, where they do not by themselves.
void scaleNonClientArea(HWND window);

// The system's message font (Microsoft YaHei UI on Chinese Windows), at dpi.
LOGFONTW messageFont(UINT dpi);

} // namespace zanvo
