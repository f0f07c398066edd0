// Files named in UTF-8, as every part of the program holds names, read through the C library and
// the system: the window reads its skin and dropped files here, where C++ streams and
// std::filesystem would bring their locales into the Windows window, a quarter of its size.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace zanvo {

enum class FileKind { Missing, Regular, Other };

// What name is, without opening it: opening a pipe waits for a writer that may never come.
FileKind fileKind(const std::string &name);

// Opens name for reading, in binary; nothing where it cannot.
std::FILE *openForReading(const std::string &name);

enum class FileRead { Read, Missing, NotRegular, Unreadable, TooLarge };

// Reads the whole of name into bytes where it is a regular file of at most limit bytes. Its
// kind is checked first, and only a regular file is opened.
FileRead readRegularFile(const std::string &name, std::size_t limit, std::string &bytes);

} // namespace zanvo
