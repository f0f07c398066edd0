// The skin as GDI draws it: the window's backdrop, the buttons and the box's frame, from the
// subset of the skin that the shared layer reads.
#pragma once

#include "window/form/skinlook.h"

#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

namespace zanvo {

COLORREF colorRef(Colour colour);

// The first of families that is installed, or nothing.
std::wstring installedFamily(const std::vector<std::string> &families);

class SkinPainter {
public:
    SkinPainter() = default;
    ~SkinPainter();
    SkinPainter(const SkinPainter &) = delete;
    SkinPainter &operator=(const SkinPainter &) = delete;

    const SkinLook &look() const { return m_look; }
    // Takes the subset of a checked skin's sheet that it draws, unless the user asked Windows for
    // high contrast, whose own colours then stand; lay() then draws with it.
    void setSkin(std::string_view sheet);
    bool paintsButtons() const;

    // Redraws the backdrop for window's client area at dpi.
    void lay(HWND window, UINT dpi);
    // Paints the backdrop where the window is erased; false where the skin gives none.
    bool erase(HWND window, HDC dc) const;
    // The brush that a child control at child fills its background with, so that it shows the
    // backdrop through; nullptr where the skin gives none.
    HBRUSH backdropFor(HWND child, HDC dc) const;
    // Draws a button in full from its custom-draw notice.
    void drawButton(const NMCUSTOMDRAW &draw) const;
    // Draws the box's frame around frame, the box's place, in its focused or plain colour.
    void drawFrame(HDC dc, RECT frame, bool focused) const;

private:
    SkinLook m_look;
    UINT m_dpi = 96;
    HBITMAP m_backdrop = nullptr;
    HBRUSH m_brush = nullptr;
};

} // namespace zanvo
