// Text as Windows takes it, UTF-16, and back to the program's UTF-8: names for its calls,
// texts for its window and console.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zanvo {

// Invalid sequences become U+FFFD. A text the system cannot convert (out of memory) raises Out of
// memory rather than giving an empty text.
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// The same, converted in pieces of at most piece bytes or units: Windows counts a text's length
// in int, so a text past 2 GiB goes in pieces, each ending on a character's boundary.
std::wstring wide(std::string_view utf8, std::size_t piece);
std::string utf8(std::wstring_view text, std::size_t piece);

// Converts utf8 into out, which has room for utf8.size() units (UTF-16 takes no more units than
// UTF-8 takes bytes), in pieces as above; returns the units written.
std::size_t wideInto(std::string_view utf8, wchar_t *out);

} // namespace zanvo
