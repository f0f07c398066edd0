// The Chinese code pages through Windows' own converter.
#include "runtime/encoding.h"
#include "runtime/utf16.h"

#include <windows.h>

namespace zanvo {

namespace {
constexpr UINT gb18030 = 54936;
constexpr UINT cp936 = 936;
// Windows counts a text's length in int.
constexpr std::size_t largestPiece = std::size_t(1) << 30;
} // namespace

bool readsAllOfGb18030()
{
    return IsValidCodePage(gb18030) != 0;
}

std::optional<std::string> chineseToUtf8(std::string_view bytes, TextEncoding encoding)
{
    const UINT codePage
        = encoding == TextEncoding::Gb18030 && readsAllOfGb18030() ? gb18030 : cp936;
    std::wstring text;
    while (!bytes.empty()) {
        std::size_t piece = bytes.size();
        if (piece > largestPiece)
            piece = wholeCharacters(bytes.substr(0, largestPiece), encoding);
        const int size = static_cast<int>(piece);
        const int length
            = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
        if (length == 0)
            return std::nullopt;
        const std::size_t at = text.size();
        text.resize(at + static_cast<std::size_t>(length));
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, text.data() + at,
                            length);
        bytes.remove_prefix(piece);
    }
    return utf8(text);
}

} // namespace zanvo
