// How the input's file is opened on each platform; what is read, and how, is the same everywhere.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace zanvo::cli {

// Opens the file name (UTF-8) for reading, in binary. Raises Error, naming the file as shown,
// where it is a folder or cannot be opened.
std::FILE *openInputFile(const std::string &name, const std::string &shown);

// The size of an open regular file; 0 for anything else.
std::size_t regularSize(std::FILE *file);

} // namespace zanvo::cli
