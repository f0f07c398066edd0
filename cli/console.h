// Where zanvo-scramble meets the terminal: its arguments in UTF-8, and text out on the standard
// streams. On Windows the arguments are read as the system holds them, in UTF-16, and text for a
// console goes to it as UTF-16, so Chinese names survive whatever the ANSI code page; elsewhere
// both are bytes, as they are.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace zanvo::cli {

// The command line, program name first, each argument in UTF-8.
std::vector<std::string> commandLine(int argc, char **argv);

// Makes the standard streams binary where the C library would rewrite line breaks.
void useBinaryStreams();

// How a terminal lets a line be written over: not at all where the stream is no terminal (a
// file, a pipe, a null device); by escape sequences where it takes them; else by a carriage
// return and blanks over what the last line left.
enum class LineStyle { None, Redraw, Escapes };

// How stream, standard error, lets the progress line be written over.
LineStyle lineStyle(std::FILE *stream);

// Writes UTF-8 text to stream (stdout or stderr) and flushes it; false where that failed.
bool writeText(std::FILE *stream, std::string_view text);

#ifdef _WIN32
// Writes UTF-8 text to the console whose handle is console, as UTF-16, in pieces that Windows 7's
// console takes (it refuses a single write much over 64 KB), no piece ending inside a character.
// Every console write of the program goes through here.
std::error_code writeConsole(void *console, std::string_view utf8);
#endif

} // namespace zanvo::cli
