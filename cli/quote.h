// File names in messages, quoted as GNU tools quote them, so that no name can move the cursor,
// clear the screen or pass for another name on the terminal.
#pragma once

#include <string>
#include <string_view>

namespace zanvo::cli {

// name between single quotes. Control characters are written as C escapes (\n, \t, \033), and so
// are a quote, a backslash (but on Windows, where it separates folders) and every byte that is
// not part of a valid UTF-8 character; Chinese and other valid UTF-8 text stays as it is, so it
// reads on the terminal.
std::string quoteName(std::string_view name);

// The input's name for messages: "standard input" for "-", else the name quoted.
std::string inputName(const std::string &name);

// The reason for error number error, as strerror gives it.
std::string reason(int error);

} // namespace zanvo::cli
