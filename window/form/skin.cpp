// The skin file's checks.
#include "window/form/skin.h"

#include "runtime/encoding.h"
#include "runtime/files.h"
#include "window/form/stylesheet.h"

#include <vector>

namespace zanvo {

namespace {

using namespace stylesheet;

// The names the sheet's url()s give, quoted or not, escapes and all. Scanned by hand: a
// backtracking regular expression runs out of stack on a long url( that never closes.
std::vector<std::string> urlNames(const std::string &sheet)
{
    std::vector<std::string> names;
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
        if (!isNamed(std::string_view(sheet).substr(at, 4), "url("))
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
