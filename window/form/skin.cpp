// The skin file's checks.
#include "window/form/skin.h"

#include <filesystem>
#include <fstream>
#include <vector>

namespace zanvo {

namespace fs = std::filesystem;

namespace {

fs::path pathOf(std::string_view utf8)
{
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

// The names the sheet's url()s give, quoted or not. Scanned by hand: a backtracking regular
// expression runs out of stack on a long url( that never closes.
std::vector<std::string> urlNames(const std::string &sheet)
{
    std::vector<std::string> names;
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    auto blank
        = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; };
    for (std::size_t at = 0; at + 4 <= sheet.size(); ++at) {
        if (lower(sheet[at]) != 'u' || lower(sheet[at + 1]) != 'r' || lower(sheet[at + 2]) != 'l'
            || sheet[at + 3] != '(')
            continue;
        std::size_t from = at + 4;
        while (from < sheet.size() && blank(sheet[from]))
            ++from;
        std::size_t to;
        if (from < sheet.size() && (sheet[from] == '"' || sheet[from] == '\'')) {
            const char quote = sheet[from++];
            to = sheet.find(quote, from);
        } else {
            to = sheet.find(')', from);
            while (to != std::string::npos && to > from && blank(sheet[to - 1]))
                --to;
        }
        if (to == std::string::npos)
            break;
        names.push_back(sheet.substr(from, to - from));
        at = to;
    }
    return names;
}

// Whether every file the sheet's url()s name is a regular file or missing (the style engine then
// does without it), never a pipe or a device that would hold the program up when it is read.
bool referencesAreFiles(const std::string &sheet)
{
    for (const std::string &name : urlNames(sheet)) {
        if (name.starts_with(':') || name.starts_with("qrc:"))
            continue;
        std::error_code error;
        const fs::file_status status = fs::status(pathOf(name), error);
        if (fs::exists(status) && !fs::is_regular_file(status))
            return false;
    }
    return true;
}

} // namespace

bool isUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        std::size_t length;
        char32_t code;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
        } else {
            return false;
        }
        if (bytes.size() - i < length)
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and code points past U+10FFFF.
        constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return false;
        i += length;
    }
    return true;
}

Skin readSkin(std::string_view path)
{
    const fs::path file = pathOf(path);
    std::error_code error;
    // Checked before opening: opening a pipe waits for a writer, which may never come.
    if (!fs::is_regular_file(file, error))
        return {SkinUnreadable, {}};
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {SkinUnreadable, {}};
    std::string bytes(maxSkinBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return {SkinUnreadable, {}};
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    if (bytes.size() > maxSkinBytes)
        return {SkinTooLarge, {}};
    if (bytes.find_first_not_of(" \t\r\n\f\v") == std::string::npos)
        return {SkinEmpty, {}};
    if (bytes.find('\0') != std::string::npos || !isUtf8(bytes))
        return {SkinNotText, {}};
    if (!referencesAreFiles(bytes))
        return {SkinBadReference, {}};
    return {SkinAttached, std::move(bytes)};
}

} // namespace zanvo
