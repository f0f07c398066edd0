// The skin's subset for hosts that draw it themselves.
#include "window/form/skinlook.h"

#include "window/form/stylesheet.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace zanvo {

namespace {

using namespace stylesheet;

// text cut at each separator that stands outside quotes and parentheses; a separator of ' '
// cuts at any run of blanks.
std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    int depth = 0;
    Quotes quotes;
    std::size_t from = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quotes.quoted(c))
            continue;
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            depth = std::max(depth - 1, 0);
        } else if (depth == 0 && (separator == ' ' ? isBlank(c) : c == separator)) {
            parts.push_back(trimmed(text.substr(from, i - from)));
            from = i + 1;
        }
    }
    parts.push_back(trimmed(text.substr(from)));
    std::erase_if(parts, [](std::string_view part) { return part.empty(); });
    return parts;
}

std::optional<float> number(std::string_view text, std::string_view unit = {})
{
    text = trimmed(text);
    float value;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)
        || lowered(trimmed(text.substr(static_cast<std::size_t>(end - text.data())))) != unit)
        return std::nullopt;
    return value;
}

// The text between name( and the closing parenthesis at the end, where text is such a call.
std::optional<std::string_view> arguments(std::string_view text, std::string_view name)
{
    text = trimmed(text);
    const std::size_t open = text.find('(');
    if (open == std::string_view::npos || lowered(trimmed(text.substr(0, open))) != name
        || !text.ends_with(')'))
        return std::nullopt;
    return text.substr(open + 1, text.size() - open - 2);
}

std::optional<Colour> colour(std::string_view text)
{
    text = trimmed(text);
    if (text.starts_with('#')) {
        std::string_view digits = text.substr(1);
        unsigned value = 0;
        const auto [end, error]
            = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (error != std::errc() || end != digits.data() + digits.size())
            return std::nullopt;
        const auto byte = [value](int shift) { return std::uint8_t((value >> shift) & 0xFF); };
        if (digits.size() == 3) {
            const auto nibble
                = [value](int shift) { return std::uint8_t(((value >> shift) & 0xF) * 17); };
            return Colour {nibble(8), nibble(4), nibble(0)};
        }
        if (digits.size() == 6 || digits.size() == 8) // #aarrggbb: the alpha goes
            return Colour {byte(16), byte(8), byte(0)};
        return std::nullopt;
    }
    auto inside = arguments(text, "rgb");
    if (!inside)
        inside = arguments(text, "rgba");
    if (!inside)
        return std::nullopt;
    const std::vector<std::string_view> parts = split(*inside, ',');
    if (parts.size() < 3)
        return std::nullopt;
    std::uint8_t channels[3];
    for (int i = 0; i < 3; ++i) {
        const std::optional<float> value = number(parts[std::size_t(i)]);
        if (!value || *value < 0 || *value > 255)
            return std::nullopt;
        channels[i] = std::uint8_t(std::lround(*value));
    }
    return Colour {channels[0], channels[1], channels[2]};
}

// A vertical qlineargradient, its stops placed on the area from top to bottom.
std::optional<Fill> gradient(std::string_view text)
{
    const std::optional<std::string_view> inside = arguments(text, "qlineargradient");
    if (!inside)
        return std::nullopt;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Fill fill;
    for (std::string_view argument : split(*inside, ',')) {
        const std::size_t colon = argument.find(':');
        if (colon == std::string_view::npos)
            return std::nullopt;
        const std::string key = lowered(trimmed(argument.substr(0, colon)));
        const std::string_view value = trimmed(argument.substr(colon + 1));
        if (key == "stop") {
            const std::vector<std::string_view> parts = split(value, ' ');
            const std::optional<float> at = parts.size() == 2 ? number(parts[0]) : std::nullopt;
            const std::optional<Colour> shade = parts.size() == 2 ? colour(parts[1]) : std::nullopt;
            if (!at || !shade)
                return std::nullopt;
            fill.stops.push_back({*at, *shade});
            continue;
        }
        const std::optional<float> coordinate = number(value);
        float *const target = key == "x1" ? &x1
            : key == "y1"                 ? &y1
            : key == "x2"                 ? &x2
            : key == "y2"                 ? &y2
                                          : nullptr;
        if (!coordinate || !target)
            return std::nullopt;
        *target = *coordinate;
    }
    if (x1 != x2 || y1 == y2 || fill.stops.empty())
        return std::nullopt;
    for (Fill::Stop &stop : fill.stops)
        stop.at = std::clamp(y1 + stop.at * (y2 - y1), 0.0f, 1.0f);
    std::stable_sort(fill.stops.begin(), fill.stops.end(),
                     [](const Fill::Stop &a, const Fill::Stop &b) { return a.at < b.at; });
    return fill;
}

std::optional<Fill> background(std::string_view text)
{
    if (const std::optional<Colour> plain = colour(text))
        return Fill {{{0, *plain}}};
    return gradient(text);
}

std::optional<int> pixels(std::string_view text)
{
    std::optional<float> value = number(text, "px");
    if (!value)
        value = number(text) == 0.0f ? std::optional<float>(0) : std::nullopt;
    if (!value || *value < 0 || *value > 100)
        return std::nullopt;
    return static_cast<int>(std::lround(*value));
}

std::optional<float> points(std::string_view text)
{
    std::optional<float> value = number(text, "pt");
    if (!value)
        if (const std::optional<float> px = number(text, "px"))
            value = *px * 0.75f;
    if (!value || *value < 1 || *value > 72)
        return std::nullopt;
    return value;
}

std::vector<std::string> families(std::string_view text)
{
    std::vector<std::string> names;
    for (std::string_view name : split(text, ',')) {
        if (name.size() >= 2 && (name.front() == '"' || name.front() == '\'')
            && name.back() == name.front())
            name = name.substr(1, name.size() - 2);
        if (!name.empty())
            names.emplace_back(name);
    }
    return names;
}

struct Border {
    std::optional<int> width;
    std::optional<Colour> colour;
};

Border border(std::string_view text)
{
    Border out;
    if (lowered(trimmed(text)) == "none")
        return {0, std::nullopt};
    for (std::string_view part : split(text, ' ')) {
        if (const std::optional<int> width = pixels(part))
            out.width = width;
        else if (const std::optional<Colour> shade = colour(part))
            out.colour = shade;
    }
    return out;
}

enum class Target { None, Form, Widgets, Label, Button, Box, BoxFocus };

struct Match {
    Target target = Target::None;
    ButtonState state = ButtonNormal;
};

// What a selector styles, by the last compound of it: type, #id and one :state (a sub-control's
// ::name is a state that matches none).
Match matchOf(std::string_view selector)
{
    const std::vector<std::string_view> compounds = split(selector, ' ');
    if (compounds.empty())
        return {};
    std::string_view last = compounds.back();
    if (const std::size_t child = last.rfind('>'); child != std::string_view::npos)
        last = last.substr(child + 1);
    if (last.find('[') != std::string_view::npos || last.find('.') != std::string_view::npos)
        return {};
    std::string_view pseudo;
    if (const std::size_t colon = last.find(':'); colon != std::string_view::npos) {
        pseudo = last.substr(colon + 1);
        last = last.substr(0, colon);
    }
    std::string_view type = last, id;
    if (const std::size_t hash = last.find('#'); hash != std::string_view::npos) {
        type = last.substr(0, hash);
        id = last.substr(hash + 1);
    }
    const std::string state = lowered(pseudo);
    if (id == "Form1" && (type.empty() || type == "QWidget") && state.empty())
        return {Target::Form};
    if ((type == "QWidget" || type == "*") && id.empty() && state.empty())
        return {Target::Widgets};
    if (type == "QLabel" && state.empty())
        return {Target::Label};
    if (type == "QPushButton") {
        if (state.empty())
            return {Target::Button, ButtonNormal};
        if (state == "hover")
            return {Target::Button, ButtonHover};
        if (state == "pressed")
            return {Target::Button, ButtonPressed};
        if (state == "focus")
            return {Target::Button, ButtonFocus};
        return {};
    }
    if (type == "QsciScintilla" || type == "QPlainTextEdit")
        return {state.empty() ? Target::Box : state == "focus" ? Target::BoxFocus : Target::None};
    return {};
}

template<class T> void take(std::optional<T> &field, std::optional<T> value)
{
    if (value)
        field = std::move(value);
}

void apply(SkinLook &look, Match match, const std::string &name, std::string_view value)
{
    const bool isBackground = name == "background" || name == "background-color";
    switch (match.target) {
    case Target::Form:
        if (isBackground)
            take(look.form, background(value));
        [[fallthrough]];
    case Target::Widgets:
        if (name == "font-family") {
            if (std::vector<std::string> names = families(value); !names.empty())
                look.fontFamilies = std::move(names);
        } else if (name == "font-size") {
            take(look.fontPoints, points(value));
        }
        break;
    case Target::Label:
        if (name == "color")
            take(look.labelText, colour(value));
        else if (name == "font-size")
            take(look.labelPoints, points(value));
        break;
    case Target::Button: {
        ButtonLook &button = look.buttons[match.state];
        if (name == "color") {
            take(button.text, colour(value));
        } else if (name == "border") {
            const Border parts = border(value);
            take(button.borderWidth, parts.width);
            take(button.border, parts.colour);
        } else if (name == "border-color") {
            take(button.border, colour(value));
        } else if (name == "border-radius") {
            take(button.radius, pixels(value));
        } else if (isBackground) {
            take(button.background, background(value));
        }
        break;
    }
    case Target::Box:
        if (isBackground)
            take(look.boxBackground, colour(value));
        else if (name == "color")
            take(look.boxText, colour(value));
        else if (name == "border")
            take(look.boxBorder, border(value).colour);
        else if (name == "selection-background-color")
            take(look.selectionBackground, colour(value));
        else if (name == "selection-color")
            take(look.selectionText, colour(value));
        break;
    case Target::BoxFocus:
        if (name == "border")
            take(look.boxFocusBorder, border(value).colour);
        break;
    case Target::None:
        break;
    }
}

// sheet without its comments; quotes are kept whole, a comment mark inside one included.
std::string withoutComments(std::string_view sheet)
{
    std::string out;
    out.reserve(sheet.size());
    Quotes quotes;
    for (std::size_t i = 0; i < sheet.size(); ++i) {
        const char c = sheet[i];
        if (!quotes.quoted(c) && c == '/' && i + 1 < sheet.size() && sheet[i + 1] == '*') {
            const std::size_t end = sheet.find("*/", i + 2);
            if (end == std::string_view::npos)
                break;
            i = end + 1;
            out += ' ';
            continue;
        }
        out += c;
    }
    return out;
}

// Where the next c outside quotes is, from from on.
std::size_t find(std::string_view text, char c, std::size_t from)
{
    Quotes quotes;
    for (std::size_t i = from; i < text.size(); ++i)
        if (!quotes.quoted(text[i]) && text[i] == c)
            return i;
    return std::string_view::npos;
}

void merge(ButtonLook &into, const ButtonLook &from)
{
    take(into.text, from.text);
    take(into.border, from.border);
    take(into.borderWidth, from.borderWidth);
    take(into.radius, from.radius);
    take(into.background, from.background);
}

} // namespace

ButtonLook SkinLook::button(bool hot, bool pressed, bool focused) const
{
    ButtonLook look = buttons[ButtonNormal];
    if (hot)
        merge(look, buttons[ButtonHover]);
    if (pressed)
        merge(look, buttons[ButtonPressed]);
    if (focused)
        merge(look, buttons[ButtonFocus]);
    return look;
}

SkinLook skinLook(std::string_view sheet)
{
    const std::string text = withoutComments(sheet);
    SkinLook look;
    for (std::size_t at = 0;;) {
        const std::size_t open = find(text, '{', at);
        const std::size_t close = open == std::string::npos ? open : find(text, '}', open + 1);
        if (close == std::string::npos)
            break;
        const std::string_view all(text);
        const std::string_view body = all.substr(open + 1, close - open - 1);
        for (std::string_view selector : split(all.substr(at, open - at), ',')) {
            const Match match = matchOf(selector);
            if (match.target == Target::None)
                continue;
            for (std::string_view declaration : split(body, ';')) {
                const std::size_t colon = declaration.find(':');
                if (colon != std::string_view::npos)
                    apply(look, match, lowered(trimmed(declaration.substr(0, colon))),
                          trimmed(declaration.substr(colon + 1)));
            }
        }
        at = close + 1;
    }
    return look;
}

} // namespace zanvo
