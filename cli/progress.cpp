// The progress line.
#include "cli/progress.h"

#include <algorithm>

namespace zanvo::cli {

namespace {
constexpr auto quiet = std::chrono::seconds(1);
constexpr auto interval = std::chrono::milliseconds(100);
} // namespace

std::string overwrite(LineStyle style, std::string_view line, std::size_t &width)
{
    std::string out = "\r";
    out += line;
    if (style == LineStyle::Escapes) {
        out += "\033[K";
    } else if (line.size() < width) {
        out.append(width - line.size(), ' ');
        if (line.empty())
            out += '\r';
    }
    width = line.size();
    return out;
}

Progress::Progress(std::FILE *stream) : m_stream(stream), m_style(lineStyle(stream)) { }

Progress::~Progress()
{
    clear();
}

void Progress::show(const char *phase, std::uint64_t done, std::uint64_t total)
{
    if (m_style == LineStyle::None)
        return;
    const auto now = Clock::now();
    // A new phase shows at once; within a phase the line changes at most every interval.
    if (now - m_start < quiet || (phase == m_phase && now - m_last < interval))
        return;
    m_last = now;
    m_phase = phase;
    std::string line = "zanvo-scramble: ";
    line += phase;
    if (total) {
        char percent[8];
        // A total that is a lower bound (UTF-32 written back) may be passed.
        std::snprintf(percent, sizeof percent, " %3u%%",
                      static_cast<unsigned>(std::min<std::uint64_t>(done * 100 / total, 100)));
        line += percent;
    }
    put(line);
}

void Progress::clear()
{
    if (m_width)
        put({});
}

void Progress::put(std::string_view line)
{
    const std::string text = overwrite(m_style, line, m_width);
    std::fwrite(text.data(), 1, text.size(), m_stream);
    std::fflush(m_stream);
}

} // namespace zanvo::cli
