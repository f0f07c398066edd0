// Text files read for the box.
#include "window/form/textfile.h"

#include "runtime/files.h"
#include "runtime/gb18030.h"
#include "window/form/platform.h"
#include "window/form/utf8.h"

#include <array>
#include <optional>

namespace zanvo {

namespace {

struct Mark {
    std::string_view bytes;
    std::size_t unit; // 1 for UTF-8, else the code unit's size
    bool bigEndian;
};

// UTF-32 LE before UTF-16 LE: its mark begins with the other's.
constexpr std::array<Mark, 5> marks {{
    {"\xEF\xBB\xBF", 1, false},
    {{"\xFF\xFE\0\0", 4}, 4, false},
    {{"\0\0\xFE\xFF", 4}, 4, true},
    {"\xFF\xFE", 2, false},
    {"\xFE\xFF", 2, true},
}};

char32_t unitAt(std::string_view bytes, std::size_t at, std::size_t unit, bool bigEndian)
{
    char32_t value = 0;
    for (std::size_t k = 0; k < unit; ++k) {
        const auto byte = static_cast<unsigned char>(bytes[at + (bigEndian ? k : unit - 1 - k)]);
        value = (value << 8) | byte;
    }
    return value;
}

// UTF-16 or UTF-32 to UTF-8; nothing where a unit is cut off, a surrogate stands alone or a
// value is no character.
std::optional<std::string> fromUnits(std::string_view bytes, std::size_t unit, bool bigEndian)
{
    if (bytes.size() % unit != 0)
        return std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2 * 3);
    for (std::size_t at = 0; at < bytes.size(); at += unit) {
        char32_t code = unitAt(bytes, at, unit, bigEndian);
        if (unit == 2 && code >= 0xD800 && code <= 0xDBFF && at + 2 < bytes.size()) {
            const char32_t low = unitAt(bytes, at + 2, unit, bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            return std::nullopt;
        appendUtf8(out, code);
    }
    return out;
}

std::string quoted(const std::string &name)
{
    return "“" + name + "”";
}

} // namespace

TextDecoding decodeText(std::string_view bytes, std::string &utf8)
{
    for (const Mark &mark : marks) {
        if (bytes.substr(0, mark.bytes.size()) != mark.bytes)
            continue;
        const std::string_view rest = bytes.substr(mark.bytes.size());
        std::optional<std::string> text;
        if (mark.unit > 1)
            text = fromUnits(rest, mark.unit, mark.bigEndian);
        else if (isUtf8(rest))
            text = std::string(rest);
        if (!text)
            return TextDecoding::Undecodable;
        utf8 = std::move(*text);
        return TextDecoding::Decoded;
    }
    if (bytes.find('\0') != std::string_view::npos)
        return TextDecoding::Unmarked16;
    if (isUtf8(bytes)) {
        utf8.assign(bytes);
        return TextDecoding::Decoded;
    }
    std::optional<std::string> text = gb18030ToUtf8(bytes);
    if (!text)
        return TextDecoding::Undecodable;
    // GB18030's own byte-order mark, which its converter keeps as a character.
    constexpr std::string_view gbMark = "\xEF\xBB\xBF";
    utf8
        = text->substr(0, gbMark.size()) == gbMark ? text->substr(gbMark.size()) : std::move(*text);
    return TextDecoding::Decoded;
}

std::string readTextFile(const std::string &name, std::size_t limit)
{
    std::string bytes;
    switch (readRegularFile(name, limit, bytes)) {
    case FileRead::Read:
        break;
    case FileRead::Missing:
        throw FileRefused("找不到文件" + quoted(name) + "。");
    case FileRead::NotRegular:
        throw FileRefused(quoted(name) + "不是文本文件，而是文件夹、设备或管道，无法读入。");
    case FileRead::Unreadable:
        throw FileRefused("无法读取文件" + quoted(name) + "。");
    case FileRead::TooLarge:
        throw FileRefused("文件" + quoted(name) + "太大：最多只能拖入 "
                          + std::to_string(limit >> 20) + " MB 的文件。");
    }
    std::string text;
    switch (decodeText(bytes, text)) {
    case TextDecoding::Decoded:
        break;
    case TextDecoding::Unmarked16:
        throw FileRefused("文件" + quoted(name)
                          + "含有空字符：它不是文本文件，或是没有字节顺序标记的 Unicode "
                            "(UTF-16) 文本。请在记事本中另存为 UTF-8 后再拖入。");
    case TextDecoding::Undecodable:
        throw FileRefused("文件" + quoted(name)
                          + "既不是 UTF-8 文本，也不是 GB18030（GBK、GB2312）文本，无法读入。");
    }
    bytes = {};
    // A file's line breaks are CR LF or LF on every platform, as the clipboard's are off Windows.
    return pastedLineBreaks(Platform::Linux, std::move(text));
}

} // namespace zanvo
