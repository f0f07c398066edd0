// UTF-8 and UTF-16.
#include "runtime/utf16.h"

#include "runtime/runtimeerror.h"

#include <algorithm>
#include <windows.h>

namespace zanvo {

namespace {

// A piece of UTF-16 this long is at most 1.5 GiB of UTF-8, within what an int counts.
constexpr std::size_t largestPiece = std::size_t(1) << 29;

// The length of text's next piece: at most piece, shortened to end before a UTF-8 continuation
// byte or a UTF-16 low surrogate, unless that would leave nothing.
template<class Char> std::size_t pieceLength(std::basic_string_view<Char> text, std::size_t piece)
{
    const auto continues = [](Char c) {
        if constexpr (sizeof(Char) == 1)
            return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        else
            return c >= 0xDC00 && c <= 0xDFFF;
    };
    std::size_t length = std::min(text.size(), piece);
    while (length > 0 && length < text.size() && continues(text[length]))
        --length;
    return length > 0 ? length : std::min(text.size(), piece);
}

// Converts text piece by piece with convert(from, length, to, room), which returns the length it
// gave, or would give for no room.
template<class To, class From, class Convert>
To convertInPieces(std::basic_string_view<From> text, std::size_t piece, Convert convert)
{
    To out;
    while (!text.empty()) {
        const auto length = static_cast<int>(pieceLength(text, piece));
        const int needed = convert(text.data(), length, nullptr, 0);
        if (needed <= 0)
            throw RuntimeError::outOfMemory();
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(needed));
        convert(text.data(), length, out.data() + at, needed);
        text.remove_prefix(static_cast<std::size_t>(length));
    }
    return out;
}

} // namespace

std::wstring wide(std::string_view text, std::size_t piece)
{
    return convertInPieces<std::wstring>(
        text, piece, [](const char *from, int length, wchar_t *to, int room) {
            return MultiByteToWideChar(CP_UTF8, 0, from, length, to, room);
        });
}

std::string utf8(std::wstring_view text, std::size_t piece)
{
    return convertInPieces<std::string>(
        text, piece, [](const wchar_t *from, int length, char *to, int room) {
            return WideCharToMultiByte(CP_UTF8, 0, from, length, to, room, nullptr, nullptr);
        });
}

std::size_t wideInto(std::string_view text, wchar_t *out)
{
    std::size_t written = 0;
    while (!text.empty()) {
        const auto length = static_cast<int>(pieceLength(text, largestPiece));
        const int units
            = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out + written, length);
        if (units <= 0)
            throw RuntimeError::outOfMemory();
        written += static_cast<std::size_t>(units);
        text.remove_prefix(static_cast<std::size_t>(length));
    }
    return written;
}

std::wstring wide(std::string_view text)
{
    return wide(text, largestPiece);
}

std::string utf8(std::wstring_view text)
{
    return utf8(text, largestPiece);
}

} // namespace zanvo
