// The skin drawn with GDI.
#include "window/win32/skinpainter.h"

#include "runtime/utf16.h"
#include "window/win32/dpi.h"

#include <commctrl.h>

namespace zanvo {

namespace {

COLOR16 channel(std::uint8_t value)
{
    return static_cast<COLOR16>(value << 8);
}

TRIVERTEX vertex(LONG x, LONG y, Colour colour)
{
    return {x, y, channel(colour.red), channel(colour.green), channel(colour.blue), 0};
}

// fill over area: the first and last stops' colours run on to the edges.
void paintFill(HDC dc, RECT area, const Fill &fill)
{
    const LONG height = area.bottom - area.top;
    LONG top = area.top;
    Colour above = fill.stops.front().colour;
    auto band = [&](LONG bottom, Colour to) {
        if (bottom <= top)
            return;
        TRIVERTEX corners[] = {vertex(area.left, top, above), vertex(area.right, bottom, to)};
        GRADIENT_RECT rect {0, 1};
        // gdi32's own name for msimg32's GradientFill, which a planted msimg32.dll could replace.
        GdiGradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_V);
        top = bottom;
    };
    for (const Fill::Stop &stop : fill.stops) {
        band(area.top + static_cast<LONG>(stop.at * static_cast<float>(height)), stop.colour);
        above = stop.colour;
    }
    band(area.bottom, above);
}

RECT placeInParent(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// Whether the user asked Windows for high contrast, whose own colours then stand.
bool highContrast()
{
    HIGHCONTRASTW contrast {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)
        && (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

// The first of families that is installed, or nothing.
std::wstring installedFamily(const std::vector<std::string> &families)
{
    HDC screen = GetDC(nullptr);
    std::wstring found;
    for (const std::string &family : families) {
        LOGFONTW wanted {};
        wanted.lfCharSet = DEFAULT_CHARSET;
        const std::wstring name = wide(family);
        if (name.size() >= LF_FACESIZE)
            continue;
        name.copy(wanted.lfFaceName, name.size());
        bool there = false;
        EnumFontFamiliesExW(
            screen, &wanted,
            [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM seen) {
                *reinterpret_cast<bool *>(seen) = true;
                return 0;
            },
            reinterpret_cast<LPARAM>(&there), 0);
        if (there) {
            found = name;
            break;
        }
    }
    ReleaseDC(nullptr, screen);
    return found;
}

} // namespace

COLORREF colorRef(Colour colour)
{
    return RGB(colour.red, colour.green, colour.blue);
}

SkinPainter::~SkinPainter()
{
    for (HGDIOBJ made :
         {HGDIOBJ(m_brush), HGDIOBJ(m_backdrop), HGDIOBJ(m_font), HGDIOBJ(m_labelFont)})
        if (made)
            DeleteObject(made);
}

void SkinPainter::setSkin(std::string_view sheet)
{
    if (!highContrast())
        m_look = skinLook(sheet);
}

bool SkinPainter::paintsButtons() const
{
    return m_look.buttons != decltype(m_look.buttons) {};
}

void SkinPainter::lay(HWND window, UINT dpi)
{
    m_dpi = dpi;
    m_boxFont = messageFont(dpi);
    const std::wstring family = installedFamily(m_look.fontFamilies);
    if (!family.empty())
        m_boxFont.lfFaceName[family.copy(m_boxFont.lfFaceName, LF_FACESIZE - 1)] = L'\0';
    const auto height = [dpi](float points) {
        return -static_cast<LONG>(points * static_cast<float>(dpi) / 72 + 0.5f);
    };
    if (m_look.fontPoints)
        m_boxFont.lfHeight = height(*m_look.fontPoints);
    LOGFONTW labelFont = m_boxFont;
    if (m_look.labelPoints)
        labelFont.lfHeight = height(*m_look.labelPoints);
    for (HFONT old : {m_font, m_labelFont})
        if (old)
            DeleteObject(old);
    m_font = CreateFontIndirectW(&m_boxFont);
    m_labelFont = m_look.labelPoints ? CreateFontIndirectW(&labelFont) : nullptr;

    if (!m_look.form)
        return;
    RECT client;
    GetClientRect(window, &client);
    HDC screen = GetDC(window);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP made = CreateCompatibleBitmap(screen, client.right, client.bottom);
    ReleaseDC(window, screen);
    HGDIOBJ before = SelectObject(dc, made);
    paintFill(dc, client, *m_look.form);
    SelectObject(dc, before);
    DeleteDC(dc);
    if (m_brush)
        DeleteObject(m_brush);
    if (m_backdrop)
        DeleteObject(m_backdrop);
    m_backdrop = made;
    m_brush = CreatePatternBrush(made);
}

bool SkinPainter::erase(HWND window, HDC dc) const
{
    if (!m_brush)
        return false;
    RECT client;
    GetClientRect(window, &client);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    FillRect(dc, &client, m_brush);
    return true;
}

HBRUSH SkinPainter::backdropFor(HWND child, HDC dc) const
{
    if (!m_brush)
        return nullptr;
    const RECT place = placeInParent(child);
    SetBrushOrgEx(dc, -place.left, -place.top, nullptr);
    return m_brush;
}

HBRUSH SkinPainter::labelColours(HWND label, HDC dc) const
{
    SetTextColor(dc,
                 m_look.labelText ? colorRef(*m_look.labelText) : GetSysColor(COLOR_WINDOWTEXT));
    if (HBRUSH backdrop = backdropFor(label, dc)) {
        SetBkMode(dc, TRANSPARENT);
        return backdrop;
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void SkinPainter::drawButton(const NMCUSTOMDRAW &draw) const
{
    const UINT state = draw.uItemState;
    const ButtonLook look
        = m_look.button(state & CDIS_HOT, state & CDIS_SELECTED, state & CDIS_FOCUS);
    HDC dc = draw.hdc;
    RECT area = draw.rc;
    if (HBRUSH backdrop = backdropFor(draw.hdr.hwndFrom, dc))
        FillRect(dc, &area, backdrop);
    else
        FillRect(dc, &area, GetSysColorBrush(COLOR_BTNFACE));

    const int radius = MulDiv(look.radius.value_or(0), static_cast<int>(m_dpi), 96);
    HRGN shape = CreateRoundRectRgn(area.left, area.top, area.right + 1, area.bottom + 1,
                                    2 * radius, 2 * radius);
    SelectClipRgn(dc, shape);
    paintFill(dc, area, look.background.value_or(Fill {{{0, Colour {0xF0, 0xF0, 0xF0}}}}));
    SelectClipRgn(dc, nullptr);
    DeleteObject(shape);

    if (const int width = MulDiv(look.borderWidth.value_or(1), static_cast<int>(m_dpi), 96)) {
        HPEN pen = CreatePen(PS_INSIDEFRAME, width,
                             colorRef(look.border.value_or(Colour {0x70, 0x70, 0x70})));
        HGDIOBJ oldPen = SelectObject(dc, pen);
        HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
        RoundRect(dc, area.left, area.top, area.right, area.bottom, 2 * radius, 2 * radius);
        SelectObject(dc, oldBrush);
        SelectObject(dc, oldPen);
        DeleteObject(pen);
    }

    wchar_t text[64];
    GetWindowTextW(draw.hdr.hwndFrom, text, static_cast<int>(std::size(text)));
    HGDIOBJ oldFont = SelectObject(
        dc, reinterpret_cast<HFONT>(SendMessageW(draw.hdr.hwndFrom, WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, look.text ? colorRef(*look.text) : GetSysColor(COLOR_BTNTEXT));
    DrawTextW(dc, text, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);

    // The keyboard's focus, where Windows shows it: once a key has been used, or always where
    // the user asked for it.
    if ((state & CDIS_FOCUS)
        && !(SendMessageW(draw.hdr.hwndFrom, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        const int inset = MulDiv(3, static_cast<int>(m_dpi), 96);
        InflateRect(&area, -inset, -inset);
        DrawFocusRect(dc, &area);
    }
}

void SkinPainter::drawFrame(HDC dc, RECT frame, bool focused) const
{
    const std::optional<Colour> colour
        = focused && m_look.boxFocusBorder ? m_look.boxFocusBorder : m_look.boxBorder;
    if (!colour)
        return;
    HBRUSH brush = CreateSolidBrush(colorRef(*colour));
    FrameRect(dc, &frame, brush);
    DeleteObject(brush);
}

} // namespace zanvo
