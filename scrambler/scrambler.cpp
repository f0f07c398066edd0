// LineFilter, RndLine and their one-pass chain, over the line table.
#include "scrambler/scrambler.h"

namespace zanvo {
namespace {

template<class CharT, class Offset>
std::basic_string<CharT> joined(std::basic_string_view<CharT> text, const LineTable<Offset> &lines,
                                std::basic_string_view<CharT> separator)
{
    std::basic_string<CharT> out;
    joinInto(text, lines, separator, [&](std::size_t length) {
        out.resize(length);
        return out.data();
    });
    return out;
}

template<class CharT>
std::basic_string<CharT> filterImpl(std::basic_string_view<CharT> text, LineBreak brk)
{
    return withLineTable(text, brk, true, [&](auto &lines) {
        return joined(text, lines, lineBreakText<CharT>(brk));
    });
}

template<class CharT>
std::basic_string<CharT> shuffleImpl(std::basic_string_view<CharT> text, RandomSource &random,
                                     LineBreak brk, bool dropEmpty)
{
    return withLineTable(text, brk, dropEmpty, [&](auto &lines) {
        shuffleLines(lines, random);
        return joined(text, lines, blankLineSeparator<CharT>(brk));
    });
}

} // namespace

std::string LineFilter(std::string_view text, LineBreak brk)
{
    return filterImpl(text, brk);
}

std::u16string LineFilter(std::u16string_view text, LineBreak brk)
{
    return filterImpl(text, brk);
}

std::string RndLine(std::string_view text, RandomSource &random, LineBreak brk)
{
    return shuffleImpl(text, random, brk, false);
}

std::u16string RndLine(std::u16string_view text, RandomSource &random, LineBreak brk)
{
    return shuffleImpl(text, random, brk, false);
}

std::string scramble(std::string_view text, RandomSource &random, LineBreak brk)
{
    return shuffleImpl(text, random, brk, true);
}

std::u16string scramble(std::u16string_view text, RandomSource &random, LineBreak brk)
{
    return shuffleImpl(text, random, brk, true);
}

} // namespace zanvo
