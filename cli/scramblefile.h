// The work of zanvo-scramble: read the input, scramble it in its own encoding, write it out.
#pragma once

#include "cli/options.h"

namespace zanvo::cli {

// Raises Error on a failed read or write, or on UTF-16 text with an odd number of bytes, and
// RuntimeError where the core does; an output file that was replaced is then left as it was.
void scrambleFile(const Options &options);

} // namespace zanvo::cli
