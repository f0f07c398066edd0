// A text file dropped on the box, as the box takes it: read whole, its encoding decided as every
// text file's is (runtime/encoding.h), its text made UTF-8 with the box's CR LF line breaks. A
// file without a byte-order mark that holds a NUL byte is refused: it is no text, or UTF-16
// without its mark.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

namespace zanvo {

// Why a file was not read; what() is the message for the user, naming the file.
class FileRefused : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The largest file the box reads, many times the largest list of entries: a file larger still
// is no list, and a mistaken drop of one should not fill the memory.
inline constexpr std::size_t textFileLimit = 256u << 20;

// Reads the regular file name (UTF-8) of at most limit bytes and returns its text, decoded, with
// every LF that no CR stands before made CR LF. Throws FileRefused where the file is missing, is
// no regular file (a folder, a device, a pipe), cannot be read, is larger than limit, or is not
// text as above.
std::string readTextFile(const std::string &name, std::size_t limit = textFileLimit);

} // namespace zanvo
