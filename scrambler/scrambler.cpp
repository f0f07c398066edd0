// LineFilter, RndLine and their one-pass chain, over the line table.
#include "scrambler/scrambler.h"

namespace zanvo {
namespace {

template<class CharT, class Offset>
std::basic_string<CharT> joined(std::basic_string_view<CharT> text, const LineTable<Offset> &lines,
                                std::basic_string_view<CharT> separator)
{
    std::basic_string<CharT> out;
    StringSink<CharT> sink(out);
    sink.reserve(joinedSize(lines, separator.size()));
    joinLines(text, lines, separator, [&](const CharT *p, std::size_t n) { sink.write(p, n); });
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
                                     LineBreak brk)
{
    return withLineTable(text, brk, false, [&](auto &lines) {
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
    return shuffleImpl(text, random, brk);
}

std::u16string RndLine(std::u16string_view text, RandomSource &random, LineBreak brk)
{
    return shuffleImpl(text, random, brk);
}

std::string scramble(std::string_view text, RandomSource &random, LineBreak brk)
{
    std::string out;
    scrambleTo(text, random, brk, StringSink<char>(out));
    return out;
}

std::u16string scramble(std::u16string_view text, RandomSource &random, LineBreak brk)
{
    std::u16string out;
    scrambleTo(text, random, brk, StringSink<char16_t>(out));
    return out;
}

} // namespace zanvo
