// The skin file's checks.
#include "window/form/skin.h"

#include "runtime/encoding.h"
#include "runtime/files.h"

#include <algorithm>
#include <vector>

namespace zanvo {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f';
}

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

// How a style engine reads a backslash: CSS takes the one blank after a hex escape into it and
// drops a backslash before a line break; Qt's engine keeps both the blank and the line break.
enum class Reading { Css, Qt };

// text with its escapes decoded: a backslash and one to six hex digits for that code point, a
// backslash and any other character for that character.
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

// The names the sheet's url()s give, quoted or not, escapes and all. Scanned by hand: a
// backtracking regular expression runs out of stack on a long url( that never closes.
std::vector<std::string> urlNames(const std::string &sheet)
{
    std::vector<std::string> names;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    // The first of ends at or after from that no backslash escapes.
    auto unescapedEnd = [&sheet](std::string_view ends, std::size_t from) {
        for (std::size_t at = from; at < sheet.size(); ++at) {
            if (sheet[at] == '\\')
                ++at;
            else if (ends.find(sheet[at]) != ends.npos)
                return at;
        }
        return std::string::npos;
    };
    for (std::size_t at = 0; at + 4 <= sheet.size(); ++at) {
        if (lower(sheet[at]) != 'u' || lower(sheet[at + 1]) != 'r' || lower(sheet[at + 2]) != 'l'
            || sheet[at + 3] != '(')
            continue;
        std::size_t from = at + 4;
        while (from < sheet.size() && isBlank(sheet[from]))
            ++from;
        std::size_t to;
        if (from < sheet.size() && (sheet[from] == '"' || sheet[from] == '\'')) {
            const char quote = sheet[from++];
            to = unescapedEnd(std::string_view(&quote, 1), from);
        } else {
            to = unescapedEnd(")", from);
            while (to != std::string::npos && to > from && isBlank(sheet[to - 1]))
                --to;
        }
        if (to == std::string::npos)
            break;
        names.push_back(sheet.substr(from, to - from));
        at = to;
    }
    return names;
}

bool mayBeRead(const std::string &name)
{
    if (name.starts_with(':') || name.starts_with("qrc:"))
        return true;
    return fileKind(name) != FileKind::Other;
}

// Whether every file the sheet's url()s name is a regular file or missing (the style engine then
// does without it), never a pipe or a device that would hold the program up when it is read.
// Escapes may spell the function's name as well as the file's, and engines read them in more
// than one way: every reading of every spelling is checked.
bool referencesAreFiles(const std::string &sheet)
{
    for (const std::string &text :
         {sheet, unescaped(sheet, Reading::Css), unescaped(sheet, Reading::Qt)}) {
        for (const std::string &name : urlNames(text)) {
            if (!mayBeRead(name) || !mayBeRead(unescaped(name, Reading::Css))
                || !mayBeRead(unescaped(name, Reading::Qt)))
                return false;
        }
    }
    return true;
}

} // namespace

Skin readSkin(std::string_view path)
{
    std::string bytes;
    switch (readRegularFile(std::string(path), maxSkinBytes, bytes)) {
    case FileRead::Read:
        break;
    case FileRead::TooLarge:
        return {SkinTooLarge, {}};
    case FileRead::Missing:
    case FileRead::NotRegular:
    case FileRead::Unreadable:
        return {SkinUnreadable, {}};
    }
    if (bytes.find_first_not_of(" \t\r\n\f\v") == std::string::npos)
        return {SkinEmpty, {}};
    if (bytes.find('\0') != std::string::npos || !isUtf8(bytes))
        return {SkinNotText, {}};
    if (!referencesAreFiles(bytes))
        return {SkinBadReference, {}};
    return {SkinAttached, std::move(bytes)};
}

} // namespace zanvo
