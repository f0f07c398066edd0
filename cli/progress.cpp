// The progress line.
#include "cli/progress.h"

#include <cstdio>

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace zanvo::cli {

namespace {
constexpr auto quiet = std::chrono::seconds(1);
constexpr auto interval = std::chrono::milliseconds(100);
} // namespace

Progress::Progress() : m_enabled(isatty(fileno(stderr)) != 0) { }

Progress::~Progress()
{
    clear();
}

void Progress::show(const char *phase, std::uint64_t done, std::uint64_t total)
{
    if (!m_enabled)
        return;
    const auto now = Clock::now();
    // A new phase shows at once; within a phase the line changes at most every interval.
    if (now - m_start < quiet || (phase == m_phase && now - m_last < interval))
        return;
    m_last = now;
    m_phase = phase;
    if (total)
        std::fprintf(stderr, "\rzanvo-scramble: %s %3u%%\033[K", phase,
                     static_cast<unsigned>(done * 100 / total));
    else
        std::fprintf(stderr, "\rzanvo-scramble: %s\033[K", phase);
    m_shown = true;
}

void Progress::clear()
{
    if (m_shown)
        std::fputs("\r\033[K", stderr);
    m_shown = false;
}

} // namespace zanvo::cli
