// Lines that look empty.
#include "scrambler/blanklines.h"

namespace zanvo {

namespace {

constexpr bool isSpaceSeparator(char32_t c)
{
    return c == u' ' || c == u'\t' || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A)
        || c == 0x202F || c == 0x205F || c == 0x3000;
}

} // namespace

bool isBlankLine(std::string_view line)
{
    for (std::size_t i = 0; i < line.size();) {
        const auto byte = [&](std::size_t k) {
            return i + k < line.size() ? static_cast<unsigned char>(line[i + k]) : 0u;
        };
        // Every space separator takes one to three bytes of UTF-8.
        char32_t c;
        std::size_t length;
        if (byte(0) < 0x80) {
            c = byte(0), length = 1;
        } else if ((byte(0) & 0xE0) == 0xC0 && (byte(1) & 0xC0) == 0x80) {
            c = (byte(0) & 0x1F) << 6 | (byte(1) & 0x3F), length = 2;
        } else if ((byte(0) & 0xF0) == 0xE0 && (byte(1) & 0xC0) == 0x80
                   && (byte(2) & 0xC0) == 0x80) {
            c = (byte(0) & 0x0F) << 12 | (byte(1) & 0x3F) << 6 | (byte(2) & 0x3F), length = 3;
        } else {
            return false;
        }
        // An overlong form spells no character.
        if (!isSpaceSeparator(c) || (length == 2 && c < 0x80) || (length == 3 && c < 0x800))
            return false;
        i += length;
    }
    return true;
}

bool isBlankLine(std::u16string_view line)
{
    for (const char16_t unit : line)
        if (!isSpaceSeparator(unit))
            return false;
    return true;
}

} // namespace zanvo
