// Deterministic test texts for the benchmarks: short CJK lines, about one in ten empty, CR LF
// breaks, like a site's list of nicknames and signatures.
#pragma once

#include <cstddef>
#include <string>

namespace zanvo::bench {

// About `bytes` bytes of UTF-8 text (never more); the same size always gives the same text.
std::string cjkLinesUtf8(std::size_t bytes);

// The same kind of text as UTF-16, about `bytes` bytes (bytes / 2 code units).
std::u16string cjkLinesUtf16(std::size_t bytes);

} // namespace zanvo::bench
