// The process-wide random source and its timer reseed.
#include "runtime/randomsource.h"

#include <bit>
#include <chrono>
#include <ctime>

namespace zanvo {

RandomSource &RandomSource::process()
{
    static RandomSource source;
    return source;
}

void RandomSource::reseed(float seconds)
{
    seed(std::bit_cast<std::uint32_t>(seconds));
}

float secondsSinceMidnight()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local {};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const auto fraction = duration<double>(now - floor<seconds>(now)).count();
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + fraction);
}

} // namespace zanvo
