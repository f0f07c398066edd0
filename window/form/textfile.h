// A text file dropped on the box, as the box takes it: read whole, its encoding found without
// guessing, its text made UTF-8 with the box's CR LF line breaks.
//
// The encoding is, in this order: the one a byte-order mark names (UTF-8, UTF-16 or UTF-32,
// little- or big-endian); else UTF-8 where the whole file is valid UTF-8; else GB18030 (which
// holds GBK and GB2312) where the whole file is valid GB18030. A short list of nicknames is
// exactly the text on which statistical detectors fail, so there is none: a file that is neither
// is refused. Valid UTF-8 is taken for UTF-8 even where it is also valid GBK ("联通"): a
// GBK text long enough to matter is almost never valid UTF-8.
//
// A file without a mark that holds a NUL byte is refused too. Text in UTF-8 or GB18030 has
// none, but UTF-16 without its mark has one in every line break and every ASCII character, and
// would otherwise pass for GB18030 and come out garbled.
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

enum class TextDecoding {
    Decoded,
    Unmarked16, // a NUL byte and no mark: UTF-16 without its byte-order mark, or no text
    Undecodable, // neither UTF-8 nor GB18030, or not what its mark says
};

// Decodes bytes into utf8 as described above; utf8 holds the text only where Decoded. Line
// breaks are left as they are.
TextDecoding decodeText(std::string_view bytes, std::string &utf8);

// Reads the regular file name (UTF-8) of at most limit bytes and returns its text, decoded, with
// every LF that no CR stands before made CR LF. Throws FileRefused where the file is missing, is
// no regular file (a folder, a device, a pipe), cannot be read, is larger than limit, or is not
// text as above.
std::string readTextFile(const std::string &name, std::size_t limit = textFileLimit);

} // namespace zanvo
