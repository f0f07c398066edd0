// Reading the whole input and writing the output of zanvo-scramble, every step checked.
#pragma once

#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace zanvo::cli {

// A failed read or write; the message names the file and the reason.
class IoError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole input in one writable block, aligned for any character type.
struct InputBuffer {
    std::shared_ptr<char> data;
    std::size_t size = 0;
};

// Reads the file at name ("-" for standard input) whole, into memory of its own. The file is not
// mapped instead: one truncated by another program during the run would crash this one, and
// the measured gain was lost in the noise of the scattered reads that follow.
// report(bytesRead, bytesExpected) is called along the way; bytesExpected is 0 where the size is
// not known beforehand.
InputBuffer readInput(const std::string &name,
                      const std::function<void(std::size_t, std::size_t)> &report);

// Standard output, or a file that is replaced only when commit() succeeds: the bytes go to a
// temporary file beside it, renamed over it at the end. Destroying an uncommitted Output
// removes the temporary file, so no partial output is ever left behind.
class Output {
public:
    explicit Output(const std::optional<std::string> &path);
    ~Output();
    Output(const Output &) = delete;
    Output &operator=(const Output &) = delete;

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

    // Bytes written so far, buffered ones included.
    std::size_t written() const { return m_flushed + m_used; }

    // Called with the number of bytes written so far each time the buffer goes out.
    void onFlush(std::function<void(std::size_t)> report) { m_report = std::move(report); }

    void commit();

private:
    void flush();
    void writeThrough(const char *bytes, std::size_t size);
    // Removes the temporary file, which no signal then needs to clean up.
    void discardTemporary();
    [[noreturn]] void fail(const char *what);

    std::string m_name; // for messages
    std::optional<std::filesystem::path> m_target;
    std::filesystem::path m_temporary;
    std::FILE *m_file = nullptr;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
    std::size_t m_flushed = 0;
    std::function<void(std::size_t)> m_report;
};

} // namespace zanvo::cli
