// A progress line on standard error for long runs: shown only where standard error is a
// terminal, and only once the work has taken more than a second.
#pragma once

#include "cli/console.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace zanvo::cli {

// What it takes to put line where the last one, width characters wide, stood; width becomes
// line's. An empty line clears the row.
std::string overwrite(LineStyle style, std::string_view line, std::size_t &width);

class Progress {
public:
    explicit Progress(std::FILE *stream = stderr);
    ~Progress();
    Progress(const Progress &) = delete;
    Progress &operator=(const Progress &) = delete;

    // Shows phase and, where total is known (non-zero), how far it is.
    void show(const char *phase, std::uint64_t done = 0, std::uint64_t total = 0);

    // Clears the line, so that what follows on the terminal starts clean.
    void clear();

private:
    using Clock = std::chrono::steady_clock;
    void put(std::string_view line);

    std::FILE *m_stream;
    LineStyle m_style;
    std::size_t m_width = 0;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_last {};
    const char *m_phase = nullptr;
};

} // namespace zanvo::cli
