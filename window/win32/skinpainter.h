// The skin as GDI draws it: the window's fonts and backdrop, the labels' colours, the buttons and
// the box's frame, from the subset of the skin that the shared layer reads.
#pragma once

#include "window/form/skinlook.h"

#include <windows.h>
// Needs windows.h before it.
#include <commctrl.h>

namespace zanvo {

COLORREF colorRef(Colour colour);

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

    // Makes the fonts and redraws the backdrop for window's client area at dpi.
    void lay(HWND window, UINT dpi);
    // The buttons' font or, where label, the labels'.
    HFONT font(bool label) const { return label && m_labelFont ? m_labelFont : m_font; }
    // The font the box draws its text in, its height in pixels at lay()'s dpi.
    const LOGFONTW &boxFont() const { return m_boxFont; }
    // Paints the backdrop where the window is erased; false where the skin gives none.
    bool erase(HWND window, HDC dc) const;
    // The brush that a child control at child fills its background with, so that it shows the
    // backdrop through; nullptr where the skin gives none.
    HBRUSH backdropFor(HWND child, HDC dc) const;
    // Colours a label's text and backdrop; returns the brush for its background.
    HBRUSH labelColours(HWND label, HDC dc) const;
    // Draws a button in full from its custom-draw notice.
    void drawButton(const NMCUSTOMDRAW &draw) const;
    // Draws the box's frame around frame, the box's place, in its focused or plain colour.
    void drawFrame(HDC dc, RECT frame, bool focused) const;

private:
    SkinLook m_look;
    UINT m_dpi = 96;
    HBITMAP m_backdrop = nullptr;
    HBRUSH m_brush = nullptr;
    LOGFONTW m_boxFont {};
    HFONT m_font = nullptr, m_labelFont = nullptr;
};

} // namespace zanvo
