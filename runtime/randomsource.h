// The random source: single-precision draws in [0, 1) that any platform, compiler and standard
// library reproduce bit for bit from the same seed.
#pragma once

#include <cstdint>
#include <random>

namespace zanvo {

class RandomSource {
public:
    explicit RandomSource(std::uint32_t seed = 0) : m_engine(seed) { }

    void seed(std::uint32_t seed) { m_engine.seed(seed); }

    // Reseeds from seconds since midnight, fraction included, so two clicks in the same second
    // still start from different seeds: the seed is the float's bit pattern.
    void reseed(float secondsSinceMidnight);

    // The next draw u, 0 <= u < 1. The top 24 bits of one engine output make the float exactly,
    // so no rounding can ever reach 1.
    float next() { return static_cast<float>(m_engine() >> 8) * 0x1p-24f; }

    // The one source the program shares, as the window's Start command reseeds and draws it.
    static RandomSource &process();

private:
    // mt19937's output sequence is fixed by the C++ standard for a given seed; the standard
    // distributions are not, which is why next() reads the raw bits.
    std::mt19937 m_engine;
};

// Local time of day in seconds, with fraction.
float secondsSinceMidnight();

} // namespace zanvo
