// Finding the LFs of a text fast: every line break contains one, so splitting a text is
// finding them. Both scans read the text in 16-byte blocks the processor compares at once.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <string_view>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ZANVO_HAVE_SSE2 1
#endif

namespace zanvo {

// The number of positions p + i, i below n, where counted says yes. Counted in blocks with a
// narrow accumulator, a loop compilers vectorise on any processor: four times the speed of
// std::count. counted may look a few units past its position, and returns a bool of plain
// comparisons joined by & rather than &&, so that it stays free of branches.
template<class CharT, class Counted>
std::size_t countWhere(const CharT *p, std::size_t n, Counted &&counted)
{
    std::size_t total = 0;
    constexpr std::size_t block = 128;
    for (; n >= block; p += block, n -= block) {
        std::uint32_t inBlock = 0;
        for (std::size_t i = 0; i < block; ++i)
            inBlock += static_cast<std::uint32_t>(counted(p + i));
        total += inBlock;
    }
    for (std::size_t i = 0; i < n; ++i)
        total += static_cast<std::size_t>(counted(p + i));
    return total;
}

// The number of LFs in text.
template<class CharT> std::size_t countLineFeeds(std::basic_string_view<CharT> text)
{
    return countWhere(text.data(), text.size(),
                      [](const CharT *c) -> bool { return *c == CharT('\n'); });
}

// Calls found(position) for every LF in text, in order. A search per line costs a call and its
// set-up for every few bytes of short lines; a bit mask of 16 positions at a time does not.
template<class CharT, class Found>
void forEachLineFeed(std::basic_string_view<CharT> text, Found &&found)
{
    static_assert(sizeof(CharT) == 1 || sizeof(CharT) == 2);
    const CharT *p = text.data();
    const std::size_t n = text.size();
    std::size_t i = 0;
#ifdef ZANVO_HAVE_SSE2
    auto report = [&](std::size_t base, unsigned mask) {
        for (; mask != 0; mask &= mask - 1)
            found(base + static_cast<std::size_t>(std::countr_zero(mask)));
    };
    auto load
        = [](const CharT *at) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at)); };
    if constexpr (sizeof(CharT) == 1) {
        const __m128i lf = _mm_set1_epi8('\n');
        for (; i + 16 <= n; i += 16)
            report(i, static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p + i), lf))));
    } else {
        const __m128i lf = _mm_set1_epi16('\n');
        for (; i + 16 <= n; i += 16) {
            const __m128i low = _mm_cmpeq_epi16(load(p + i), lf);
            const __m128i high = _mm_cmpeq_epi16(load(p + i + 8), lf);
            report(i, static_cast<unsigned>(_mm_movemask_epi8(_mm_packs_epi16(low, high))));
        }
    }
#endif
    for (; i < n; ++i)
        if (p[i] == CharT('\n'))
            found(i);
}

} // namespace zanvo
