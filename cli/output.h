// zanvo-scramble's output: buffered writes into an OutputFile.
#pragma once

#include "cli/outputfile.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zanvo::cli {

// A UTF-16 unit in the other byte order.
constexpr char16_t byteSwapped(char16_t unit)
{
    return static_cast<char16_t>((unit << 8) | (unit >> 8));
}

class Output {
public:
    explicit Output(const std::optional<std::string> &path);

    // See OutputFile::reserve.
    void reserve(std::uint64_t bytes) { m_file.reserve(bytes); }
    // See OutputFile::takeEncodingOf.
    void takeEncodingOf(std::string_view text) { m_file.takeEncodingOf(text); }

    void write(const char *bytes, std::size_t size)
    {
        if (size > m_buffer.size() - m_used) {
            flush();
            if (size >= m_buffer.size()) {
                writeThrough(bytes, size);
                return;
            }
        }
        std::copy(bytes, bytes + size, m_buffer.data() + m_used);
        m_used += size;
    }

    // Writes UTF-16 units with their two bytes swapped, through the buffer.
    void writeSwapped(const char16_t *units, std::size_t count);

    // Bytes written so far, buffered ones included.
    std::size_t written() const { return m_flushed + m_used; }

    // Called with the number of bytes written so far each time the buffer goes out.
    void onFlush(std::function<void(std::size_t)> report) { m_report = std::move(report); }

    void commit();

private:
    void flush();
    void writeThrough(const char *bytes, std::size_t size);

    OutputFile m_file;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    std::size_t m_flushed = 0;
    std::function<void(std::size_t)> m_report;
};

} // namespace zanvo::cli
