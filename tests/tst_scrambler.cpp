// The text core: LineFilter, RndLine, their chain, and the random source under them.
#include "scrambler/scrambler.h"
#include "splitall.h"

#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace zanvo;

namespace {

std::u16string wide(std::string_view s)
{
    return {s.begin(), s.end()};
}

// The shuffle written out literally, one string per line, as the reference for the core.
std::string literalRndLine(const std::string &text, RandomSource &random)
{
    if (text.empty())
        return text;
    auto lines = test::splitAll(text, std::string("\r\n"));
    const auto n = lines.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto r = static_cast<std::size_t>(random.next() * static_cast<double>(n));
        std::swap(lines[i], lines[r]);
    }
    std::string out;
    for (std::size_t i = 0; i < n; ++i)
        out += (i ? "\r\n\r\n" : "") + lines[i];
    return out;
}

} // namespace

TEST(LineFilter, KeepsNonEmptyLinesInOrderForBothWidths)
{
    const std::tuple<std::string, std::string, LineBreak> cases[] = {
        {"a\r\n\r\nb", "a\r\nb", LineBreak::CrLf},
        {"\r\n\r\na\r\nb\r\n", "a\r\nb", LineBreak::CrLf},
        {"a\r\n \r\n\t\r\nb", "a\r\n \r\n\t\r\nb", LineBreak::CrLf}, // blanks are text
        {"a\nb\r\n\nc", "a\nb\r\n\nc", LineBreak::CrLf}, // so are lone breaks
        {"a\rb\r\n\r", "a\rb\r\n\r", LineBreak::CrLf},
        {"a\r\r\n\r\n\nb", "a\r\r\n\nb", LineBreak::CrLf},
        {"abc", "abc", LineBreak::CrLf},
        {"", "", LineBreak::CrLf},
        {"\r\n\r\n\r\n", "", LineBreak::CrLf},
        {std::string("\xE4\xBD\xA0\r\n\r\n\xFF\0z\r\n\r\n\0", 16),
         std::string("\xE4\xBD\xA0\r\n\xFF\0z\r\n\0", 12), LineBreak::CrLf},
        {"a\n\nb\r\n\n", "a\nb\r", LineBreak::Lf},
        {"\n\n", "", LineBreak::Lf},
    };
    for (const auto &[in, out, brk] : cases) {
        EXPECT_EQ(LineFilter(in, brk), out) << testing::PrintToString(in);
        EXPECT_EQ(LineFilter(wide(in), brk), wide(out)) << testing::PrintToString(in);
    }
}

// Memory follows what is kept: a text of empty lines gets no table for them.
TEST(LineFilter, TheLineTableIsSizedOnceForTheLinesItKeeps)
{
    std::mt19937 random(7);
    const char units[] = {'\r', '\n', 'a'};
    for (int round = 0; round < 4000; ++round) {
        std::string text(random() % 300, ' ');
        for (char &c : text)
            c = units[random() % 3];
        for (const LineBreak brk : {LineBreak::CrLf, LineBreak::Lf}) {
            for (const bool dropEmpty : {true, false}) {
                const auto narrow
                    = splitLines<std::uint32_t>(std::string_view(text), brk, dropEmpty);
                const auto wideLines
                    = splitLines<std::uint32_t>(std::u16string_view(wide(text)), brk, dropEmpty);
                EXPECT_EQ(narrow.capacity(), narrow.size()) << testing::PrintToString(text);
                EXPECT_EQ(wideLines.capacity(), wideLines.size()) << testing::PrintToString(text);
            }
        }
    }
}

TEST(RndLine, FollowsTheSwapRuleInBothWidthsWithEmptyLinesAsLines)
{
    RandomSource gen(99);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        // From no line at all, which comes back as it is, to 40.
        const int n = static_cast<int>(gen.next() * 41);
        for (int i = 0; i < n; ++i) {
            text += i ? "\r\n" : "";
            if (i % 5 != 4)
                text += std::to_string(i % 7) + 'L';
        }
        const auto seed = static_cast<std::uint32_t>(round);
        RandomSource a(seed), b(seed), c(seed), d(seed);
        const auto out = RndLine(text, a);
        EXPECT_EQ(out, literalRndLine(text, b)) << "seed " << seed << " lines " << n;
        EXPECT_EQ(a.next(), b.next()) << "one draw per line, no more";
        EXPECT_EQ(RndLine(wide(text), c), wide(out));
        // The one-pass chain draws as RndLine after LineFilter does.
        EXPECT_EQ(scramble(text, c = RandomSource(seed)), RndLine(LineFilter(text), d));
    }
}

namespace {

// The lines that removing duplicates keeps of text, in order.
template<class CharT>
std::vector<std::basic_string<CharT>> unique(std::basic_string_view<CharT> text, LineBreak brk)
{
    return withLineTable(text, brk, true, [&](auto &lines) {
        removeDuplicateLines(text, lines);
        std::vector<std::basic_string<CharT>> kept;
        for (const auto &line : lines)
            kept.emplace_back(text.substr(line.begin, line.size));
        return kept;
    });
}

} // namespace

TEST(UniqueLines, TheFirstOfEachLineStaysInOrderWhateverItHolds)
{
    using namespace std::string_literals;
    // The last line, without a break, matches its twins; blanks and NULs are characters.
    const std::string text = "b\r\na\r\n b\r\nb\r\n\r\na\r\nx\0y\r\nx\0z\r\nx\0y\r\nab\r\nb"s;
    const std::vector<std::string> kept {"b", "a", " b", "x\0y"s, "x\0z"s, "ab"};
    EXPECT_EQ(unique<char>(text, LineBreak::CrLf), kept);
    std::vector<std::u16string> keptWide;
    for (const std::string &line : kept)
        keptWide.push_back(wide(line));
    EXPECT_EQ(unique<char16_t>(wide(text), LineBreak::CrLf), keptWide);
    // What ends a line decides what a line is.
    EXPECT_EQ(unique<char>("a\nb\r\na\nb\r\na", LineBreak::CrLf),
              (std::vector<std::string> {"a\nb", "a"}));
    EXPECT_EQ(unique<char>("a\r\nb\na", LineBreak::Lf),
              (std::vector<std::string> {"a\r", "b", "a"}));

    std::string same, many;
    for (int i = 0; i < 1000; ++i)
        same += "同\r\n";
    EXPECT_EQ(unique<char>(same, LineBreak::CrLf), std::vector<std::string> {"同"});
    // Enough different lines for the set to grow many times over.
    std::vector<std::string> numbers;
    for (int i = 0; i < 60000; ++i) {
        many += std::to_string(i % 30000) + "\n";
        if (i < 30000)
            numbers.push_back(std::to_string(i));
    }
    EXPECT_EQ(unique<char>(many, LineBreak::Lf), numbers);
}

TEST(UniqueLines, TheWholeTextVersionKeepsEveryEmptyLineAndTheLineBreaks)
{
    const auto removed = [](auto text, LineBreak brk) {
        std::basic_string<typename decltype(text)::value_type> out;
        const std::size_t left = uniqueLinesTo(text, brk, StringSink(out));
        return std::pair {out, left};
    };
    const std::tuple<std::string_view, LineBreak, std::string_view, std::size_t> cases[] = {
        {"a\r\n\r\nb\r\na\r\n\r\n\r\nb\r\n", LineBreak::CrLf, "a\r\n\r\nb\r\n\r\n\r\n", 2},
        {"a\r\nb\r\na", LineBreak::CrLf, "a\r\nb", 1},
        {" \r\n \r\n", LineBreak::CrLf, " \r\n", 1},
        {"x\r\ny\nx\r\ny\n", LineBreak::Lf, "x\r\ny\n", 2},
        {"同\r\n\r\n异", LineBreak::CrLf, "同\r\n\r\n异", 0},
        {"", LineBreak::CrLf, "", 0},
    };
    for (const auto &[text, brk, out, left] : cases) {
        EXPECT_EQ(removed(text, brk), std::pair(std::string(out), left)) << text;
        EXPECT_EQ(removed(std::u16string_view(wide(text)), brk), std::pair(wide(out), left));
    }
}

TEST(BlankLines, OnlyWhiteSpaceMakesABlankLine)
{
    // Each kind of white space alone, and all of them together.
    for (const std::string_view line : {"", " ", "\t", "\u00A0", "\u1680", "\u2000", "\u200A",
                                        "\u202F", "\u205F", "\u3000", " \t\u3000\u00A0\u2005"})
        EXPECT_TRUE(isBlankLine(line)) << line;
    for (const std::u16string_view line :
         {u"", u" ", u"\t", u"\u00A0", u"\u1680", u"\u2000", u"\u200A", u"\u202F", u"\u205F",
          u"\u3000", u" \t\u3000\u00A0\u2005"})
        EXPECT_TRUE(isBlankLine(line)) << line.size();
    // Anything else makes a line of text: a character among the blanks, a line break's own
    // character, the zero-width space and the next-line control (not space separators),
    // a cut or overlong sequence, a byte that is no UTF-8.
    const std::string texts[]
        = {"\u3000网名",   " a ",      "\r",       "\n",           "\u200B", "\u0085",
           "\u2001\u2028", "\xE3\x80", "\xC0\xA0", "\xE0\x80\xA0", "\xFF",   std::string(1, '\0')};
    for (const std::string &line : texts)
        EXPECT_FALSE(isBlankLine(line)) << testing::PrintToString(line);
    for (const char16_t unit : {u'\u200B', u'\u0085', u'a', u'\u3001', u'\xD800'})
        EXPECT_FALSE(isBlankLine(std::u16string_view(&unit, 1))) << int(unit);
}

TEST(BlankLines, TheWholeTextVersionKeepsEveryOtherLineAsItIsAndTheLineBreaks)
{
    const auto removed = [](std::string_view text, LineBreak brk) {
        std::string out;
        const std::size_t count = blankLinesTo(text, brk, StringSink<char>(out));
        return std::pair(out, count);
    };
    using Result = std::pair<std::string, std::size_t>;
    const auto crlf = LineBreak::CrLf;
    // A line's own blanks stay; so does the final line break, and a last line without one.
    EXPECT_EQ(removed("\u3000网名\r\n \r\n\r\na \r\n\t\u00A0\r\n", crlf),
              Result("\u3000网名\r\na \r\n", 3));
    EXPECT_EQ(removed(" \r\nb\r\n\u3000", crlf), Result("b", 2));
    EXPECT_EQ(removed("a\r\nb", crlf), Result("a\r\nb", 0));
    EXPECT_EQ(removed("a\r\n", crlf), Result("a\r\n", 0));
    EXPECT_EQ(removed("\r\n", crlf), Result("", 1));
    EXPECT_EQ(removed(" \r\n\t\r\n", crlf), Result("", 2));
    EXPECT_EQ(removed("", crlf), Result("", 0));
    // What a line is follows the line break: in CR LF text a lone LF is a character.
    EXPECT_EQ(removed("a\n \r\nb", crlf), Result("a\n \r\nb", 0));
    EXPECT_EQ(removed("a\n \nb\n", LineBreak::Lf), Result("a\nb\n", 1));

    std::u16string wideOut;
    EXPECT_EQ(blankLinesTo(std::u16string_view(u"甲\r\n\u3000\r\n乙"), crlf,
                           StringSink<char16_t>(wideOut)),
              1u);
    EXPECT_EQ(wideOut, u"甲\r\n乙");
}

TEST(RandomSource, DrawsAreFixedBySeedAndPartnersStayInRange)
{
    // The engine's first output for seed 0 is fixed by the C++ standard: 2357136044.
    RandomSource random(0);
    EXPECT_EQ(random.next(), static_cast<float>(2357136044u >> 8) * 0x1p-24f);
    // The largest draw below 1, over the most lines a counter allows, stays inside the table.
    EXPECT_LT(swapPartner(std::nextafter(1.0f, 0.0f), 2147483647u), 2147483647u);
    // The product is taken in double precision: in single, 16777219 lines round to 16777220.
    EXPECT_EQ(swapPartner(0.5f, 16777219u), 8388609u);
    // A reseed from the clock takes the second's fraction too.
    RandomSource quarter, half;
    quarter.reseed(3600.25f);
    half.reseed(3600.5f);
    EXPECT_NE(quarter.next(), half.next());
}

TEST(RuntimeError, CountsPastInt32MaxOverflow)
{
    EXPECT_NO_THROW(checkCount(2147483647u));
    EXPECT_THROW(checkCount(2147483648u), RuntimeError);
}

TEST(LineFeeds, EveryLengthAndPositionAroundTheVectorBlocks)
{
    // Lengths 0 to 64 cross the 16-unit blocks and the scalar tail of both widths.
    for (std::size_t n = 0; n <= 64; ++n) {
        for (std::size_t at = 0; at < n; ++at) {
            std::string bytes(n, 'a');
            bytes[at] = '\n';
            std::u16string units(n, u'字');
            units[at] = u'\n';
            std::vector<std::size_t> found8, found16;
            forEachLineFeed(std::string_view(bytes), [&](std::size_t i) { found8.push_back(i); });
            forEachLineFeed(std::u16string_view(units),
                            [&](std::size_t i) { found16.push_back(i); });
            EXPECT_EQ(found8, std::vector<std::size_t> {at}) << n << " " << at;
            EXPECT_EQ(found16, std::vector<std::size_t> {at}) << n << " " << at;
            EXPECT_EQ(countLineFeeds(std::string_view(bytes)), 1u);
            EXPECT_EQ(countLineFeeds(std::u16string_view(units)), 1u);
        }
        // A unit whose low byte is LF is no line feed in UTF-16.
        const std::u16string lookalikes(n, char16_t(0x0A0A));
        EXPECT_EQ(countLineFeeds(std::u16string_view(lookalikes)), 0u);
        std::size_t seen = 0;
        forEachLineFeed(std::u16string_view(lookalikes), [&](std::size_t) { ++seen; });
        EXPECT_EQ(seen, 0u);
    }
    EXPECT_EQ(countLineFeeds(std::string_view(std::string(300, '\n'))), 300u);
}

#if defined(__unix__) && defined(NDEBUG) && !defined(__SANITIZE_ADDRESS__)
#include <sys/mman.h>

namespace {

// A text of size bytes whose pages cost nothing until written: all NUL but where written.
auto mapped(std::size_t size)
{
    void *p = mmap(nullptr, size, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    auto unmap = [size](char *data) { munmap(data, size); };
    return std::unique_ptr<char, decltype(unmap)>(
        p == MAP_FAILED ? nullptr : static_cast<char *>(p), unmap);
}

} // namespace

TEST(Large, TextsPast4GiBUse64BitOffsets)
{
    const std::size_t size = (std::size_t(1) << 32) + 4096;
    const auto text = mapped(size);
    if (!text)
        GTEST_SKIP() << "no room to map 4 GiB here";
    const std::size_t second = (std::size_t(1) << 32) + 100;
    text.get()[0] = 'A';
    std::memcpy(text.get() + second - 2, "\r\nB\r\n\r\nC", 8);
    const std::string_view view(text.get(), size);
    withLineTable(view, LineBreak::CrLf, true, [&](auto &lines) {
        using Offset = decltype(lines[0].begin);
        EXPECT_EQ(sizeof(Offset), 8u);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[1].begin, second);
        EXPECT_EQ(lines[1].size, 1u);
        EXPECT_EQ(lines[2].begin, second + 5);
        std::string tail;
        // What is written, with the long lines cut to their first character.
        joinLines(view, lines, std::string_view("|"), [&](const char *p, std::size_t n) {
            tail += n < 16 ? std::string(p, n) : std::string(1, *p) + "~";
        });
        EXPECT_EQ(tail, "A~|B|C~");
    });
}

TEST(Large, OnlyKeptLinesCountTowardsOverflow)
{
    // 2^31 + 1 empty lines in LF mode: too many to count, yet none is kept.
    const std::size_t size = (std::size_t(1) << 31) + 1;
    const auto text = mapped(size + 1);
    if (!text)
        GTEST_SKIP() << "no room to map 2 GiB here";
    std::memset(text.get(), '\n', size);
    text.get()[size] = 'x';
    const std::string_view view(text.get(), size + 1);
    EXPECT_EQ(LineFilter(view, LineBreak::Lf), "x");
    withLineTable(view, LineBreak::Lf, true, [](auto &lines) { EXPECT_EQ(lines.capacity(), 1u); });
}
#endif
