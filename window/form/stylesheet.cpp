// Reading a style sheet's text.
#include "window/form/stylesheet.h"

#include "runtime/encoding.h"

#include <algorithm>

namespace zanvo::stylesheet {

namespace {

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string lowered(std::string_view text)
{
    std::string out(text);
    for (char &c : out)
        c = lowerAscii(c);
    return out;
}

bool isNamed(std::string_view text, std::string_view name)
{
    return std::ranges::equal(text, name, [](char c, char n) { return lowerAscii(c) == n; });
}

bool Quotes::quoted(char c)
{
    if (m_open) {
        m_open = c == m_open ? 0 : m_open;
        return true;
    }
    if (c == '"' || c == '\'') {
        m_open = c;
        return true;
    }
    return false;
}

std::string unescaped(std::string_view text, Reading reading)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '\\' || at + 1 == text.size()) {
            out += text[at];
            continue;
        }
        ++at;
        if (hexValue(text[at]) < 0) {
            const bool lineBreak = text[at] == '\n' || text[at] == '\r' || text[at] == '\f';
            if (!lineBreak || reading == Reading::Qt)
                out += text[at];
            else if (text.substr(at, 2) == "\r\n")
                ++at;
            continue;
        }
        char32_t code = 0;
        const std::size_t end = std::min(text.size(), at + 6);
        for (; at < end && hexValue(text[at]) >= 0; ++at)
            code = code * 16 + static_cast<char32_t>(hexValue(text[at]));
        appendUtf8(out, code);
        if (reading == Reading::Css && at < text.size() && isBlank(text[at]))
            at += text.substr(at, 2) == "\r\n" ? 1u : 0u;
        else
            --at;
    }
    return out;
}

} // namespace zanvo::stylesheet
