// The text core: drops empty lines, shuffles lines and removes repeated ones, for 8-bit text
// (UTF-8 or any bytes) and 16-bit text (UTF-16) alike. Arguments are never changed: a function
// returns a new text, and a ...To() function hands it to a sink in pieces instead. LineFilter
// and RndLine are the readable reference, each step on its own; scramble() and scrambleTo(),
// which the window and the command line use, do both in one pass, and the tests hold them to it.
#pragma once

#include "runtime/randomsource.h"
#include "scrambler/blanklines.h"
#include "scrambler/linetable.h"
#include "scrambler/uniquelines.h"

#include <string>
#include <string_view>

namespace zanvo {

// The non-empty lines of text, in their order, joined by one line break. Only a line of length 0
// is empty; blanks and tabs make a line non-empty. A text without any non-empty line (the empty
// text, or nothing but line breaks) gives the empty text.
std::string LineFilter(std::string_view text, LineBreak brk = LineBreak::CrLf);
std::u16string LineFilter(std::u16string_view text, LineBreak brk = LineBreak::CrLf);

// The lines of text in shuffled order, with one empty line between neighbours. Empty lines are
// lines like any other here. A single line comes back unchanged; the empty text stays empty.
// Draws once per line from random, which it does not seed.
std::string RndLine(std::string_view text, RandomSource &random = RandomSource::process(),
                    LineBreak brk = LineBreak::CrLf);
std::u16string RndLine(std::u16string_view text, RandomSource &random = RandomSource::process(),
                       LineBreak brk = LineBreak::CrLf);

// RndLine(LineFilter(text)) in one pass, with the same draws and so the same result, but
// without the intermediate text.
std::string scramble(std::string_view text, RandomSource &random, LineBreak brk = LineBreak::CrLf);
std::u16string scramble(std::u16string_view text, RandomSource &random,
                        LineBreak brk = LineBreak::CrLf);

// Where scrambleTo() has got to, for a sink that shows progress.
enum class ScrambleStage { Splitting, Shuffling };

// Whether the lines that repeat an earlier one are shuffled too or dropped before the shuffle.
enum class Duplicates { Keep, Drop };
// Whether the lines of nothing but white space (see isBlankLine) are shuffled too or dropped
// before the shuffle, and before the duplicates.
enum class BlankLines { Keep, Drop };

// What scramble() computes, handed to sink piece by piece instead of returned whole: first
// sink.reserve(length), the result's length in characters, then sink.write(p, n) for each
// piece in order. A sink with stage(ScrambleStage) hears when splitting and shuffling begin.
// In CrLf mode no piece ends between the CR and the LF of a line break. With Duplicates::Drop
// only the first of each set of equal lines is shuffled, and so drawn for; with BlankLines::Drop
// only the lines that are not blank.
template<class CharT, class Sink>
void scrambleTo(std::basic_string_view<CharT> text, RandomSource &random, LineBreak brk,
                Sink &&sink, Duplicates duplicates = Duplicates::Keep,
                BlankLines blanks = BlankLines::Keep)
{
    constexpr bool staged = requires
    {
        sink.stage(ScrambleStage::Splitting);
    };
    if constexpr (staged)
        sink.stage(ScrambleStage::Splitting);
    withLineTable(text, brk, true, [&](auto &lines) {
        if (blanks == BlankLines::Drop)
            removeBlankLines(text, lines);
        if (duplicates == Duplicates::Drop)
            removeDuplicateLines(text, lines);
        if constexpr (staged)
            sink.stage(ScrambleStage::Shuffling);
        shuffleLines(lines, random);
        const auto separator = blankLineSeparator<CharT>(brk);
        sink.reserve(joinedSize(lines, separator.size()));
        joinLines(text, lines, separator, [&](const CharT *p, std::size_t n) { sink.write(p, n); });
    });
}

// The lines of text without those that repeat an earlier one, in their order, each but the last
// followed by one line break; every empty line stays where it stands. Handed to sink as
// scrambleTo() does. Returns how many lines it left out.
template<class CharT, class Sink>
std::size_t uniqueLinesTo(std::basic_string_view<CharT> text, LineBreak brk, Sink &&sink)
{
    return withLineTable(text, brk, false, [&](auto &lines) {
        const std::size_t before = lines.size();
        removeDuplicateLines(text, lines, EmptyLines::Kept);
        const auto separator = lineBreakText<CharT>(brk);
        sink.reserve(joinedSize(lines, separator.size()));
        joinLines(text, lines, separator, [&](const CharT *p, std::size_t n) { sink.write(p, n); });
        return before - lines.size();
    });
}

// The lines of text without those of nothing but white space (see isBlankLine), the others as
// they are and in their order, each but the last followed by one line break, and the text's
// final line break kept where it has one. Handed to sink as scrambleTo() does. Returns how many
// lines it left out.
template<class CharT, class Sink>
std::size_t blankLinesTo(std::basic_string_view<CharT> text, LineBreak brk, Sink &&sink)
{
    const auto separator = lineBreakText<CharT>(brk);
    // What follows a final line break is no line of its own: the break stays, after the last line
    // kept.
    const bool closed = text.ends_with(separator);
    const auto body = closed ? text.substr(0, text.size() - separator.size()) : text;
    if (closed && body.empty()) {
        sink.reserve(0);
        return 1;
    }
    return withLineTable(body, brk, false, [&](auto &lines) {
        const std::size_t removed = removeBlankLines(body, lines);
        const bool closing = closed && !lines.empty();
        sink.reserve(joinedSize(lines, separator.size()) + (closing ? separator.size() : 0));
        joinLines(body, lines, separator, [&](const CharT *p, std::size_t n) { sink.write(p, n); });
        if (closing)
            sink.write(separator.data(), separator.size());
        return removed;
    });
}

} // namespace zanvo
