// Lines that look empty: nothing in them but white space, as text copied from a web page brings
// (blanks and tabs, no-break spaces, the ideographic space of Chinese indentation).
#pragma once

#include "scrambler/linetable.h"

#include <string_view>

namespace zanvo {

// Whether line holds nothing but white space, or nothing at all: ASCII blanks and tabs, U+00A0,
// U+3000 and the other Unicode space separators (U+1680, U+2000 to U+200A, U+202F, U+205F).
// 8-bit text is read as UTF-8, where any other byte is no white space.
bool isBlankLine(std::string_view line);
bool isBlankLine(std::u16string_view line);

// Leaves out of lines every line that isBlankLine, keeping the others in order; returns how many
// it left out.
template<class CharT, class Offset>
std::size_t removeBlankLines(std::basic_string_view<CharT> text, LineTable<Offset> &lines)
{
    return std::erase_if(lines, [&](const LineSpan<Offset> &line) {
        return isBlankLine(text.substr(line.begin, line.size));
    });
}

} // namespace zanvo
