// UTF-8 as the window checks and writes it, by the standard's rules, for text that comes from
// files: the skin and files dropped on the box.
#pragma once

#include <string>
#include <string_view>

namespace zanvo {

// Whether bytes are well-formed UTF-8: no overlong form, surrogate or code point past U+10FFFF.
bool isUtf8(std::string_view bytes);

// Appends code to out as UTF-8; a surrogate or a value past U+10FFFF goes out as U+FFFD.
void appendUtf8(std::string &out, char32_t code);

} // namespace zanvo
