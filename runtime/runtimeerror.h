// The program's run-time error: a number and a description, raised by a failing operation and
// reported once, where the work started (an event handler, the command line's main).
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

namespace zanvo {

class RuntimeError : public std::runtime_error {
public:
    // Numbers follow the classic BASIC run-time table, so a report reads the way users know.
    static constexpr int OverflowNumber = 6;
    static constexpr int OutOfMemoryNumber = 7;
    static constexpr int InternalErrorNumber = 51;

    RuntimeError(int number, const std::string &description);

    int number() const noexcept { return m_number; }
    std::string description() const { return what(); }

    static RuntimeError overflow();
    static RuntimeError outOfMemory();

private:
    int m_number;
};

// Counters are signed 32-bit: a count past INT32_MAX raises Overflow instead of wrapping.
void checkCount(std::size_t count);

} // namespace zanvo
