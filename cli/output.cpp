// Buffered output.
#include "cli/output.h"

#include <cstring>

namespace zanvo::cli {

namespace {
constexpr std::size_t outputBufferBytes = 256 * 1024;
} // namespace

Output::Output(const std::optional<std::string> &path) : m_file(path), m_buffer(outputBufferBytes)
{
}

void Output::writeThrough(const char *bytes, std::size_t size)
{
    m_file.write(bytes, size);
    m_flushed += size;
    if (m_report)
        m_report(m_flushed);
}

void Output::flush()
{
    if (m_used == 0)
        return;
    const std::size_t used = m_used;
    m_used = 0;
    writeThrough(m_buffer.data(), used);
}

void Output::writeSwapped(const char16_t *units, std::size_t count)
{
    while (count > 0) {
        if (m_buffer.size() - m_used < 2)
            flush();
        const std::size_t n = std::min(count, (m_buffer.size() - m_used) / 2);
        for (std::size_t i = 0; i < n; ++i, m_used += 2) {
            const char16_t swapped = byteSwapped(units[i]);
            std::memcpy(m_buffer.data() + m_used, &swapped, 2);
        }
        units += n;
        count -= n;
    }
}

void Output::commit()
{
    flush();
    m_file.commit();
}

} // namespace zanvo::cli
