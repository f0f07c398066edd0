// Text files read for the box.
#include "window/form/textfile.h"

#include "runtime/encoding.h"
#include "runtime/files.h"
#include "window/form/platform.h"

#include <optional>

namespace zanvo {

namespace {

std::string quoted(const std::string &name)
{
    return "“" + name + "”";
}

} // namespace

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
    // UTF-8 and GB18030 text has no NUL, but UTF-16 without its mark has one in every line break
    // and every ASCII character, and would otherwise pass for GB18030 and come out garbled.
    if (!markedEncoding(bytes) && bytes.find('\0') != std::string::npos)
        throw FileRefused("文件" + quoted(name)
                          + "含有空字符：它不是文本文件，或是没有字节顺序标记的 Unicode "
                            "(UTF-16) 文本。请在记事本中另存为 UTF-8 后再拖入。");
    std::optional<DecodedText> text = decodeText(bytes);
    if (!text)
        throw FileRefused("文件" + quoted(name)
                          + "既不是 UTF-8 文本，也不是 GB18030（GBK、GB2312）文本，无法读入。");
    bytes = {};
    // A file's line breaks are CR LF or LF on every platform, as the clipboard's are off Windows.
    return pastedLineBreaks(Platform::Linux, std::move(text->utf8));
}

} // namespace zanvo
