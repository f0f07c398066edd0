// Fuzzes the text core with arbitrary bytes, read as 8-bit and as 16-bit text: no line is lost,
// duplicated or altered, and the one-pass chain equals its two steps.
#include "scrambler/scrambler.h"
#include "splitall.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using namespace zanvo;
using zanvo::test::splitAll;

namespace {

void require(bool ok)
{
    if (!ok)
        std::abort();
}

template<class CharT>
void check(const std::basic_string<CharT> &text, std::uint32_t seed, LineBreak brk)
{
    using String = std::basic_string<CharT>;
    const String br(lineBreakText<CharT>(brk));
    const String sep(blankLineSeparator<CharT>(brk));

    auto lines = splitAll(text, br);
    std::erase_if(lines, [](const String &l) { return l.empty(); });

    const String filtered = LineFilter(text, brk);
    require(splitAll(filtered, br) == lines);

    RandomSource a(seed), b(seed);
    const String chained = RndLine(filtered, a, brk);
    require(scramble(text, b, brk) == chained);
    require(a.next() == b.next());

    // Lines never hold a whole break, so the separator splits the result back exactly.
    auto shuffled = splitAll(chained, sep);
    std::sort(shuffled.begin(), shuffled.end());
    std::sort(lines.begin(), lines.end());
    require(shuffled == lines);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::uint32_t seed = data[0];
    const auto brk = (data[0] & 1) ? LineBreak::Lf : LineBreak::CrLf;
    ++data;
    --size;

    check(std::string(reinterpret_cast<const char *>(data), size), seed, brk);

    std::u16string wide(size / 2, u'\0');
    std::memcpy(wide.data(), data, wide.size() * 2);
    check(wide, seed, brk);
    return 0;
}
