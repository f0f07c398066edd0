// Text as Win32 takes it, UTF-16, and back to the program's UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace zanvo {

std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

} // namespace zanvo
