// What a host without a style-sheet engine takes from a skin: a small subset of the sheet, read
// once, that it draws itself. The subset, by the selector a rule ends in:
//   #Form1 (QWidget#Form1)        background: a colour or a vertical qlineargradient;
//                                 font-family, font-size
//   QWidget, * (inside the form)  font-family, font-size
//   QLabel                        color, font-size
//   QPushButton, and its :hover,  color, border (width, colour), border-color, border-radius,
//     :pressed and :focus         background, background-color
//   QsciScintilla, QPlainTextEdit background, color, border, selection-background-color,
//     and :focus for the border   selection-color
// Colours are #rgb, #rrggbb, #aarrggbb, rgb() or rgba() (the alpha is dropped), lengths px, font
// sizes pt or px. A later rule wins over an earlier one; every other rule and value is ignored,
// and what a skin leaves out keeps the platform's own look.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zanvo {

struct Colour {
    std::uint8_t red, green, blue;
    bool operator==(const Colour &) const = default;
};

// A plain colour (one stop) or a gradient from the top of the area (0) to its bottom (1).
struct Fill {
    struct Stop {
        float at;
        Colour colour;
        bool operator==(const Stop &) const = default;
    };
    std::vector<Stop> stops; // in order of at, which lies in [0, 1]
    bool operator==(const Fill &) const = default;
};

struct ButtonLook {
    std::optional<Colour> text, border;
    std::optional<int> borderWidth, radius; // pixels at 96 dots per inch
    std::optional<Fill> background;
    bool operator==(const ButtonLook &) const = default;
};

enum ButtonState : std::size_t { ButtonNormal, ButtonHover, ButtonPressed, ButtonFocus };

struct SkinLook {
    std::optional<Fill> form;
    std::vector<std::string> fontFamilies; // in order of preference
    std::optional<float> fontPoints, labelPoints;
    std::optional<Colour> labelText;
    std::array<ButtonLook, 4> buttons; // by ButtonState
    std::optional<Colour> boxBackground, boxText, boxBorder, boxFocusBorder, selectionBackground,
        selectionText;

    // A button's look in a state: normal, then what :hover, :pressed and :focus change, in that
    // order, as the shipped skin lists them.
    ButtonLook button(bool hot, bool pressed, bool focused) const;
};

// The subset of sheet, a style sheet already checked as a skin.
SkinLook skinLook(std::string_view sheet);

} // namespace zanvo
