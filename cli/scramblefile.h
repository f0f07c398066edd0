// The work of zanvo-scramble: read the input, scramble it in its own encoding, write it out.
#pragma once

#include "cli/options.h"

#include <cstddef>

namespace zanvo::cli {

enum class Encoding { Bytes, Utf8Bom, Utf16Le, Utf16Be };

// The encoding a text announces by its byte-order mark. UTF-16 needs an even number of bytes
// after the mark; anything else is scrambled as bytes, which passes it through unchanged.
Encoding detectEncoding(const char *data, std::size_t size);

// Raises IoError on a failed read or write and RuntimeError where the core does; the output
// file, if any, is then left as it was.
void scrambleFile(const Options &options);

} // namespace zanvo::cli
