// Texts as a file holds them in UTF-16 or UTF-32: a byte-order mark, then the code units in the
// byte order asked.
#pragma once

#include <string>
#include <string_view>

namespace zanvo::test {

template<typename Char> std::string marked(std::basic_string_view<Char> text, bool bigEndian)
{
    std::string bytes;
    const auto put = [&](Char unit) {
        for (std::size_t k = 0; k < sizeof(Char); ++k)
            bytes += static_cast<char>(unit >> (8 * (bigEndian ? sizeof(Char) - 1 - k : k)));
    };
    put(Char(0xFEFF));
    for (const Char unit : text)
        put(unit);
    return bytes;
}

inline std::string utf16(std::u16string_view text, bool bigEndian)
{
    return marked(text, bigEndian);
}

inline std::string utf32(std::u32string_view text, bool bigEndian)
{
    return marked(text, bigEndian);
}

} // namespace zanvo::test
