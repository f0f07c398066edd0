// The work of zanvo-scramble: read the input, scramble it in its own encoding, write it out.
#pragma once

#include "cli/options.h"

#include <cstddef>

namespace zanvo::cli {

enum class Encoding { Bytes, Utf8Bom, Utf16Le, Utf16Be, Utf32Le, Utf32Be };

// The encoding a text announces by its byte-order mark; Bytes where it has none.
Encoding detectEncoding(const char *data, std::size_t size);

// Raises Error on a failed read or write, or on UTF-16 text with an odd number of bytes, and
// RuntimeError where the core does; an output file that was replaced is then left as it was.
void scrambleFile(const Options &options);

} // namespace zanvo::cli
