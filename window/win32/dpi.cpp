// The DPI a window is drawn at.
#include "window/win32/dpi.h"

namespace zanvo {

UINT dpiOf(HWND window)
{
    static const auto forWindow = user32<UINT(WINAPI *)(HWND)>("GetDpiForWindow");
    if (forWindow && window)
        return forWindow(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

SIZE outerSize(SIZE client, DWORD style, DWORD exStyle, UINT dpi)
{
    RECT rect {0, 0, client.cx, client.cy};
    static const auto adjust
        = user32<BOOL(WINAPI *)(LPRECT, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (adjust)
        adjust(&rect, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&rect, style, FALSE, exStyle);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

void scaleNonClientArea(HWND window)
{
    static const auto scale = user32<BOOL(WINAPI *)(HWND)>("EnableNonClientDpiScaling");
    if (scale)
        scale(window);
}

LOGFONTW messageFont(UINT dpi)
{
    NONCLIENTMETRICSW metrics {};
    metrics.cbSize = sizeof metrics;
    static const auto forDpi
        = user32<BOOL(WINAPI *)(UINT, UINT, PVOID, UINT, UINT)>("SystemParametersInfoForDpi");
    if (forDpi) {
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    } else {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        metrics.lfMessageFont.lfHeight
            = MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi),
                     static_cast<int>(dpiOf(nullptr)));
    }
    return metrics.lfMessageFont;
}

} // namespace zanvo
