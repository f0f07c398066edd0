// Buffered output.
#include "cli/output.h"

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

void Output::commit()
{
    flush();
    m_file.commit();
}

} // namespace zanvo::cli
