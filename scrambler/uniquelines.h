// Duplicate lines removed from a line table: the first of each line stays, in its place, and
// lines compare character for character without their line break.
#pragma once

#include "scrambler/linetable.h"

#include <bit>
#include <cstdint>
#include <functional>
#include <vector>

namespace zanvo {

// Whether empty lines are compared like any other, so that only the first stays, or all stay.
enum class EmptyLines { Compared, Kept };

// Keeps the first of each set of equal lines in lines, in order. One pass over the table
// with an open-addressing set of the kept lines' positions: 4 bytes a slot, at most three
// quarters full, so the set costs 5 to 11 bytes per distinct line and no line is copied.
template<class CharT, class Offset>
void removeDuplicateLines(std::basic_string_view<CharT> text, LineTable<Offset> &lines,
                          EmptyLines empty = EmptyLines::Compared)
{
    using View = std::basic_string_view<CharT>;
    const auto view
        = [&](const LineSpan<Offset> &line) { return View(text.data() + line.begin, line.size); };
    const std::hash<View> hash;
    // A slot holds a kept line's position plus one; zero is free. Positions fit: a table never
    // holds more lines than a signed 32-bit count.
    std::vector<std::uint32_t> slots(std::bit_ceil(std::max<std::size_t>(64, lines.size() / 8)));
    std::size_t mask = slots.size() - 1;
    const auto place = [&](std::size_t kept) {
        for (std::size_t at = hash(view(lines[kept])) & mask;; at = (at + 1) & mask) {
            if (slots[at] == 0) {
                slots[at] = static_cast<std::uint32_t>(kept + 1);
                return;
            }
        }
    };

    const auto compared = [&](const LineSpan<Offset> &line) {
        return line.size != 0 || empty == EmptyLines::Compared;
    };

    std::size_t kept = 0;
    std::size_t held = 0; // lines in the set
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!compared(lines[i])) {
            lines[kept++] = lines[i];
            continue;
        }
        const View line = view(lines[i]);
        std::size_t at = hash(line) & mask;
        bool seen = false;
        for (; slots[at] != 0; at = (at + 1) & mask) {
            if (view(lines[slots[at] - 1]) == line) {
                seen = true;
                break;
            }
        }
        if (seen)
            continue;
        lines[kept] = lines[i];
        slots[at] = static_cast<std::uint32_t>(kept + 1);
        ++kept;
        if (++held * 4 > slots.size() * 3) {
            slots.assign(slots.size() * 2, 0);
            mask = slots.size() - 1;
            for (std::size_t k = 0; k < kept; ++k)
                if (compared(lines[k]))
                    place(k);
        }
    }
    lines.resize(kept);
}

} // namespace zanvo
