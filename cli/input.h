// Reading the whole input of zanvo-scramble, every step checked.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace zanvo::cli {

// The whole input in one writable block, aligned for any character type.
struct InputBuffer {
    std::shared_ptr<char> data;
    std::size_t size = 0;
};

// A file name as the program received it, in UTF-8, as a path of the platform: on Windows the
// name is not taken through the ANSI code page, which cannot spell most names.
std::filesystem::path pathFromUtf8(const std::string &name);

// Reads the file at name ("-" for standard input, in binary mode since useBinaryStreams()) whole,
// into memory of its own. The file is not mapped instead: one truncated by another program during
// the run would crash this one, and the measured gain was lost in the noise of the scattered reads
// that follow. report(bytesRead, bytesExpected) is called along the way; bytesExpected is 0 where
// the size is not known beforehand. Raises Error naming the file where it cannot be read.
InputBuffer readInput(const std::string &name,
                      const std::function<void(std::size_t, std::size_t)> &report);

} // namespace zanvo::cli
