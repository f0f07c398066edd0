// Lines as views into their text: split at a line break, shuffle, and write out again, without
// copying a line on its own and without allocating per line.
#pragma once

#include "runtime/largealloc.h"
#include "runtime/randomsource.h"
#include "runtime/runtimeerror.h"
#include "scrambler/linefeeds.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zanvo {

// What ends a line. In CrLf mode only the pair CR LF does: a lone CR or LF is an ordinary
// character. In Lf mode every LF does, and a CR is ordinary.
enum class LineBreak { CrLf, Lf };

template<class CharT>
inline constexpr CharT crlfCrlf[] = {CharT('\r'), CharT('\n'), CharT('\r'), CharT('\n')};
template<class CharT> inline constexpr CharT lfLf[] = {CharT('\n'), CharT('\n')};

template<class CharT> constexpr std::basic_string_view<CharT> lineBreakText(LineBreak brk)
{
    return brk == LineBreak::CrLf ? std::basic_string_view<CharT>(crlfCrlf<CharT>, 2)
                                  : std::basic_string_view<CharT>(lfLf<CharT>, 1);
}

// The separator between shuffled lines: two line breaks, so one empty line stands between
// neighbours.
template<class CharT> constexpr std::basic_string_view<CharT> blankLineSeparator(LineBreak brk)
{
    return brk == LineBreak::CrLf ? std::basic_string_view<CharT>(crlfCrlf<CharT>, 4)
                                  : std::basic_string_view<CharT>(lfLf<CharT>, 2);
}

// A line as offset and length into its text. Offsets are 32-bit for any text that allows it:
// the table is then half the size, and the shuffle's random accesses stay in cache far longer.
template<class Offset> struct LineSpan {
    Offset begin;
    Offset size;
};

template<class Offset>
using LineTable = std::vector<LineSpan<Offset>, LargeAllocator<LineSpan<Offset>>>;

// The number of lines splitLines keeps, counted ahead so that the table is sized once for them:
// a line begins at the start and after every break, and an empty one begins with a break, or
// at the very end.
template<class CharT>
std::size_t countLines(std::basic_string_view<CharT> text, LineBreak brk, bool dropEmpty)
{
    constexpr CharT cr = '\r', lf = '\n';
    const CharT *p = text.data();
    const std::size_t n = text.size();
    if (n == 0)
        return 0;
    if (brk == LineBreak::Lf) {
        if (!dropEmpty)
            return countLineFeeds(text) + 1;
        return static_cast<std::size_t>(p[0] != lf)
            + countWhere(p, n - 1,
                         [](const CharT *c) -> bool { return (c[0] == lf) & (c[1] != lf); });
    }
    const auto isBreak = [](const CharT *c) -> bool { return (c[0] == cr) & (c[1] == lf); };
    if (n == 1)
        return 1;
    if (!dropEmpty)
        return 1 + countWhere(p, n - 1, isBreak);
    std::size_t kept = static_cast<std::size_t>(!isBreak(p));
    if (n >= 4)
        kept += countWhere(p, n - 3, [](const CharT *c) -> bool {
            return (c[0] == cr) & (c[1] == lf) & ((c[2] != cr) | (c[3] != lf));
        });
    // A break three units before the end leaves a line of one unit after it.
    if (n >= 3)
        kept += static_cast<std::size_t>(isBreak(p + n - 3));
    return kept;
}

// Splits text at every line break, in order. The empty text has no line; a non-empty text with
// k breaks has k + 1, empty ones included unless dropEmpty. Raises Overflow when the table would
// hold more lines than a signed 32-bit counter holds; lines dropped are not counted.
template<class Offset, class CharT>
LineTable<Offset> splitLines(std::basic_string_view<CharT> text, LineBreak brk, bool dropEmpty)
{
    LineTable<Offset> lines;
    if (text.empty())
        return lines;
    // Exactly sized: a growing table would copy itself and could reach twice the size it needs,
    // which on a 1 GB text is half a gigabyte of memory, and a table sized for every line would
    // cost a text of empty lines many times its own size. The count is a small part of the split.
    lines.reserve(countLines(text, brk, dropEmpty));
    std::size_t start = 0;
    auto addLine = [&](std::size_t end) {
        if (end != start || !dropEmpty)
            lines.push_back({static_cast<Offset>(start), static_cast<Offset>(end - start)});
    };
    forEachLineFeed(text, [&](std::size_t lf) {
        if (brk == LineBreak::Lf) {
            addLine(lf);
            start = lf + 1;
        } else if (lf > start && text[lf - 1] == CharT('\r')) {
            addLine(lf - 1);
            start = lf + 1;
        }
    });
    addLine(text.size());
    checkCount(lines.size());
    return lines;
}

// The partner position for a draw u over n lines: floor(u * n) in double precision, always in
// 0 .. n - 1 since u < 1. The product is never negative, so truncation is the floor, and it
// saves a library call per line where the processor has no rounding instruction.
inline std::size_t swapPartner(float u, std::size_t n)
{
    return static_cast<std::size_t>(
        static_cast<std::int32_t>(static_cast<double>(u) * static_cast<double>(n)));
}

// A hint that p will be read soon; lines are visited in random order, and without it every
// access to a large table or text is a cache and TLB miss.
inline void prefetch(const void *p)
{
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(p);
#else
    (void)p;
#endif
}

// Visits every position i in ascending order and swaps it with a partner drawn over the whole
// table, one draw per line. This is deliberately not the textbook shuffle: for three or more
// lines the orders are not equally likely, and a given seed always yields the same order.
template<class Offset> void shuffleLines(LineTable<Offset> &lines, RandomSource &random)
{
    const std::size_t n = lines.size();
    // The partners are drawn a few positions ahead and their slots prefetched: the swap is then
    // bound by the draws, not by cache misses on a table larger than the cache.
    constexpr std::size_t ahead = 16;
    std::size_t partners[ahead];
    const std::size_t primed = n < ahead ? n : ahead;
    for (std::size_t i = 0; i < primed; ++i)
        partners[i] = swapPartner(random.next(), n);
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t r = partners[i % ahead];
        if (i + ahead < n) {
            const std::size_t next = swapPartner(random.next(), n);
            partners[i % ahead] = next;
            prefetch(&lines[next]);
        }
        std::swap(lines[i], lines[r]);
    }
}

// Total length of the lines joined with separator.
template<class Offset>
std::size_t joinedSize(const LineTable<Offset> &lines, std::size_t separatorSize)
{
    std::size_t total = lines.empty() ? 0 : (lines.size() - 1) * separatorSize;
    for (const auto &line : lines)
        total += line.size;
    return total;
}

// Hands sink(const CharT *, std::size_t) each line of text in table order, with separator
// between neighbours and nothing before the first or after the last.
template<class CharT, class Offset, class Sink>
void joinLines(std::basic_string_view<CharT> text, const LineTable<Offset> &lines,
               std::basic_string_view<CharT> separator, Sink &&sink)
{
    const CharT *base = text.data();
    constexpr std::size_t ahead = 8;
    const std::size_t n = lines.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i + ahead < n)
            prefetch(base + lines[i + ahead].begin);
        if (i != 0)
            sink(separator.data(), separator.size());
        sink(base + lines[i].begin, static_cast<std::size_t>(lines[i].size));
    }
}

// A sink that writes the joined lines into a string sized once: reserve(length) then write(p, n).
template<class CharT> class StringSink {
public:
    explicit StringSink(std::basic_string<CharT> &out) : m_out(out) { }
    void reserve(std::size_t length)
    {
        m_out.resize(length);
        m_at = m_out.data();
    }
    void write(const CharT *p, std::size_t n)
    {
        std::char_traits<CharT>::copy(m_at, p, n);
        m_at += n;
    }

private:
    std::basic_string<CharT> &m_out;
    CharT *m_at = nullptr;
};

// Runs work(table) with the narrowest offset type that can address text.
template<class CharT, class Work>
decltype(auto) withLineTable(std::basic_string_view<CharT> text, LineBreak brk, bool dropEmpty,
                             Work &&work)
{
    if (text.size() <= std::numeric_limits<std::uint32_t>::max()) {
        auto lines = splitLines<std::uint32_t>(text, brk, dropEmpty);
        return work(lines);
    }
    auto lines = splitLines<std::uint64_t>(text, brk, dropEmpty);
    return work(lines);
}

} // namespace zanvo
