// Text encodings as the program meets them in files: the byte-order marks, UTF-8, UTF-16 and
// UTF-32, and the Chinese code pages through the system's converter. A dropped file, the command
// line and the console all decide a text's encoding here, so they never decide differently.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace zanvo {

enum class TextEncoding {
    Utf8,
    Utf16Le,
    Utf16Be,
    Utf32Le,
    Utf32Be,
    Gb18030, // holds GBK and GB2312
    Cp936, // Windows' GBK, as Notepad saves "ANSI" on Chinese Windows: GBK and € as 0x80
};

// The byte-order mark that begins a text in encoding: GB18030 has one of its own; code page
// 936 has none.
std::string_view byteOrderMark(TextEncoding encoding);

// The encoding that the byte-order mark at the start of bytes names; nothing where none does.
std::optional<TextEncoding> markedEncoding(std::string_view bytes);

// Whether bytes are well-formed UTF-8: no overlong form, surrogate or code point past U+10FFFF.
bool isUtf8(std::string_view bytes);

// Appends code to out as UTF-8; a surrogate or a value past U+10FFFF goes out as U+FFFD.
void appendUtf8(std::string &out, char32_t code);

// Calls each(char32_t) with every character of units, UTF-16 or UTF-32 text in encoding's byte
// order, and with U+FFFD for what is none: a unit cut off at the end, a surrogate alone, a value
// past U+10FFFF. Returns whether every one was a character.
template<class Each> bool eachCharacter(std::string_view units, TextEncoding encoding, Each each);

// Appends bytes, text in encoding without its mark, to out as UTF-8, what is no character of it
// as U+FFFD; returns whether every one was a character.
bool appendAsUtf8(std::string &out, std::string_view bytes, TextEncoding encoding);

// The length of the longest start of bytes, text in encoding without its mark, that ends between
// two characters: where a piece of a longer text can be decoded up to. A text that is no valid
// text of encoding ends its pieces where its valid text would.
std::size_t wholeCharacters(std::string_view bytes, TextEncoding encoding);

struct DecodedText {
    TextEncoding encoding;
    std::size_t markSize; // the byte-order mark's bytes, left out of utf8
    std::string utf8;
};

// A whole text's encoding, decided in this order, and its text as UTF-8: the encoding a
// byte-order mark names; else the first of UTF-8, GB18030 and code page 936 that reads every
// byte. There is no guessing: a short list of nicknames is exactly the text on which statistical
// detectors fail, and valid UTF-8 is UTF-8 even where its bytes are valid GBK too ("联通" saved
// in GBK is no valid UTF-8). Nothing where none reads it, or where the text is not what its mark
// says. Line breaks and NUL bytes are left as they are. Without keepText only the decision is
// made: utf8 stays empty, and a text in Unicode is checked without being copied.
std::optional<DecodedText> decodeText(std::string_view bytes, bool keepText = true);

// bytes, GB18030 or code page 936 text, as UTF-8 through the system's converter (iconv, or
// Windows' code pages 54936 and 936); nothing where a sequence is no character of it or is cut
// off at the end.
std::optional<std::string> chineseToUtf8(std::string_view bytes, TextEncoding encoding);

// Whether the system reads all of GB18030. Windows has since Vista; where it does not (Wine),
// code page 936 stands in: it reads what Notepad saves as ANSI, all but GB18030's four-byte
// sequences.
bool readsAllOfGb18030();

// Text that comes in pieces, as UTF-8 as it comes: each piece up to its last whole character,
// the rest kept for the next. The text's mark is left out.
class PieceDecoder {
public:
    PieceDecoder(TextEncoding encoding, std::size_t markSize);
    void decode(std::string_view piece, std::string &utf8);
    // The end of the text: what is left of a cut character comes out as U+FFFD.
    void finish(std::string &utf8);

private:
    TextEncoding m_encoding;
    std::size_t m_markLeft;
    std::string m_pending;
};

template<class Each> bool eachCharacter(std::string_view units, TextEncoding encoding, Each each)
{
    const bool big = encoding == TextEncoding::Utf16Be || encoding == TextEncoding::Utf32Be;
    const std::size_t width
        = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be ? 2 : 4;
    const auto unitAt = [&](std::size_t at) {
        char32_t value = 0;
        for (std::size_t k = 0; k < width; ++k)
            value
                = (value << 8) | static_cast<unsigned char>(units[at + (big ? k : width - 1 - k)]);
        return value;
    };
    bool whole = true;
    std::size_t at = 0;
    for (; at + width <= units.size(); at += width) {
        char32_t code = unitAt(at);
        if (width == 2 && code >= 0xD800 && code <= 0xDBFF && at + 4 <= units.size()) {
            const char32_t low = unitAt(at + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
            }
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
            code = 0xFFFD;
            whole = false;
        }
        each(code);
    }
    if (at < units.size()) {
        each(char32_t(0xFFFD));
        whole = false;
    }
    return whole;
}

} // namespace zanvo
