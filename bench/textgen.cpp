// The benchmark text generator.
#include "bench/textgen.h"

#include <cstdint>

namespace zanvo::bench {
namespace {

// A fixed xorshift sequence: the texts must not depend on the standard library in use.
class Sequence {
public:
    std::uint32_t next(std::uint32_t bound)
    {
        m_state ^= m_state << 13;
        m_state ^= m_state >> 7;
        m_state ^= m_state << 17;
        return static_cast<std::uint32_t>(m_state % bound);
    }

private:
    std::uint64_t m_state = 0x9E3779B97F4A7C15ull;
};

// Calls put(code point) for each character and put(0) for each line break.
template<class Put> void generate(std::size_t units, std::size_t unitsPerChar, Put &&put)
{
    Sequence seq;
    std::size_t used = 0;
    constexpr std::size_t breakUnits = 2;
    while (true) {
        const bool empty = seq.next(10) == 0;
        const std::size_t chars = empty ? 0 : 2 + seq.next(14);
        if (used + chars * unitsPerChar + breakUnits > units)
            break;
        for (std::size_t i = 0; i < chars; ++i)
            put(0x4E00 + seq.next(0x9FA5 - 0x4E00));
        put(0);
        used += chars * unitsPerChar + breakUnits;
    }
}

} // namespace

std::string cjkLinesUtf8(std::size_t bytes)
{
    std::string out;
    out.reserve(bytes);
    generate(bytes, 3, [&](std::uint32_t cp) {
        if (cp == 0) {
            out += "\r\n";
            return;
        }
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    });
    return out;
}

std::u16string cjkLinesUtf16(std::size_t bytes)
{
    std::u16string out;
    out.reserve(bytes / 2);
    generate(bytes / 2, 1, [&](std::uint32_t cp) {
        if (cp == 0)
            out += u"\r\n";
        else
            out += static_cast<char16_t>(cp);
    });
    return out;
}

} // namespace zanvo::bench
