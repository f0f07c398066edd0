// How the skin's checks and the subset a host draws both read a style sheet's text: its blanks,
// its names in any case, its quotes and its backslash escapes.
#pragma once

#include <string>
#include <string_view>

namespace zanvo::stylesheet {

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

inline char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c;
}

std::string_view trimmed(std::string_view text);
// Lower case in ASCII only: a style sheet's names and keywords are ASCII.
std::string lowered(std::string_view text);
// Whether text is name, a lower-case keyword, in any case; it copies nothing, for scans that ask
// at every character.
bool isNamed(std::string_view text, std::string_view name);

// Follows a text's quotes one character at a time.
class Quotes {
public:
    // Whether c belongs to a quoted string, its opening and closing marks included.
    bool quoted(char c);

private:
    char m_open = 0;
};

// How a style engine reads a backslash: CSS takes the one blank after a hex escape into it and
// drops a backslash before a line break; Qt's engine keeps both the blank and the line break.
enum class Reading { Css, Qt };

// text with its escapes decoded: a backslash and one to six hex digits for that code point, a
// backslash and any other character for that character.
std::string unescaped(std::string_view text, Reading reading);

} // namespace zanvo::stylesheet
