// A progress line on standard error for long runs: shown only where standard error is a
// terminal, and only once the work has taken more than a second.
#pragma once

#include <chrono>
#include <cstdint>

namespace zanvo::cli {

class Progress {
public:
    Progress();
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // Shows phase and, where total is known (non-zero), how far it is.
    void show(const char *phase, std::uint64_t done = 0, std::uint64_t total = 0);

    // Clears the line, so that what follows on the terminal starts clean.
    void clear();

private:
    using Clock = std::chrono::steady_clock;
    bool m_enabled;
    bool m_shown = false;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_last {};
    const char *m_phase = nullptr;
};

} // namespace zanvo::cli
