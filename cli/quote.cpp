// Quoting names for messages.
#include "cli/quote.h"

#include <cstdio>
#include <cstring>

namespace zanvo::cli {

namespace {

// The length of the valid UTF-8 character at the start of s, or 0 where there is none. Overlong
// forms, surrogates and C1 controls count as invalid: each would show as something else.
std::size_t utf8Length(std::string_view s)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    char32_t code;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        return 0;
    }
    if (s.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3Fu);
    }
    const char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)
        || (code >= 0x80 && code <= 0x9F))
        return 0;
    return length;
}

} // namespace

std::string quoteName(std::string_view name)
{
    std::string out = "'";
    for (std::size_t i = 0; i < name.size();) {
        const char c = name[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            if (const std::size_t length = utf8Length(name.substr(i))) {
                out.append(name.substr(i, length));
                i += length;
                continue;
            }
        }
        ++i;
        switch (c) {
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\v':
            out += "\\v";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\r':
            out += "\\r";
            break;
#ifndef _WIN32
        // On Windows it separates a path's folders, and nothing reads it as an escape there.
        case '\\':
#endif
        case '\'':
            out += '\\';
            out += c;
            break;
        default:
            if (byte < 0x20 || byte >= 0x7F) {
                char octal[5];
                std::snprintf(octal, sizeof octal, "\\%03o", byte);
                out += octal;
            } else {
                out += c;
            }
        }
    }
    out += '\'';
    return out;
}

std::string inputName(const std::string &name)
{
    return name == "-" ? "standard input" : quoteName(name);
}

std::string reason(int error)
{
    return std::strerror(error);
}

} // namespace zanvo::cli
