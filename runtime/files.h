// Files named in UTF-8, as every part of the program holds names, through the C library and the
// system. C++ streams and std::filesystem would do as well, but they bring their locales into
// the Windows program: a quarter of its size.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

namespace zanvo {

enum class FileKind { Missing, Regular, Other };

// What name is, without opening it: opening a pipe waits for a writer that may never come.
FileKind fileKind(const std::string &name);

using OpenFile = std::unique_ptr<std::FILE, int (*)(std::FILE *)>;
// name open for reading in binary mode; null where it cannot be.
OpenFile openForReading(const std::string &name);

} // namespace zanvo
