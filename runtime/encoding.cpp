// Byte-order marks, UTF-8 checked and written, UTF-16 and UTF-32 read, and the one decision.
#include "runtime/encoding.h"

#include <algorithm>
#include <array>

namespace zanvo {

namespace {

struct Mark {
    std::string_view bytes;
    TextEncoding encoding;
};

// UTF-32 LE before UTF-16 LE: its mark begins with the other's.
constexpr std::array<Mark, 6> marks {{
    {"\xEF\xBB\xBF", TextEncoding::Utf8},
    {{"\xFF\xFE\0\0", 4}, TextEncoding::Utf32Le},
    {{"\0\0\xFE\xFF", 4}, TextEncoding::Utf32Be},
    {"\xFF\xFE", TextEncoding::Utf16Le},
    {"\xFE\xFF", TextEncoding::Utf16Be},
    {"\x84\x31\x95\x33", TextEncoding::Gb18030},
}};

// The length of the well-formed UTF-8 character that bytes[at] begins; 0 where none does.
// Inlined into its callers' loops over every byte of a dropped file, it keeps the check at the
// speed of one written in place (about 60 ms on 50 MB), where a call a character costs a third
// more.
[[gnu::always_inline]] inline std::size_t utf8Character(std::string_view bytes, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(bytes[at]);
    std::size_t length;
    char32_t code;
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() - at < length)
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(bytes[at + k]);
        if ((next & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and code points past U+10FFFF.
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
        return 0;
    return length;
}

// The bytes at the end of utf8 that begin a character which goes on past it.
std::size_t cutUtf8(std::string_view utf8)
{
    for (std::size_t back = 1; back <= 3 && back <= utf8.size(); ++back) {
        const auto byte = static_cast<unsigned char>(utf8[utf8.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? back : 0;
    }
    return 0;
}

// GB18030's shape, which code page 936 shares: a byte below 0x81 or 0xFF stands alone; a lead
// byte takes one more, or three where the next is a digit.
std::size_t wholeChinese(std::string_view bytes)
{
    std::size_t at = 0;
    while (at < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        std::size_t length = 1;
        if (lead >= 0x81 && lead <= 0xFE)
            length = at + 1 < bytes.size() && bytes[at + 1] >= '0' && bytes[at + 1] <= '9' ? 4 : 2;
        if (at + length > bytes.size())
            break;
        at += length;
    }
    return at;
}

bool isUnits(TextEncoding encoding)
{
    return encoding != TextEncoding::Utf8 && encoding != TextEncoding::Gb18030
        && encoding != TextEncoding::Cp936;
}

// bytes as UTF-8 where all of them are text of encoding; without keepText, only whether they
// are (an empty text), UTF-8 and UTF-16/32 then checked without a copy.
std::optional<std::string> strictlyUtf8(std::string_view bytes, TextEncoding encoding,
                                        bool keepText)
{
    if (encoding == TextEncoding::Utf8)
        return isUtf8(bytes) ? std::optional(std::string(keepText ? bytes : std::string_view()))
                             : std::nullopt;
    if (!isUnits(encoding))
        return chineseToUtf8(bytes, encoding);
    if (!keepText)
        return eachCharacter(bytes, encoding, [](char32_t) {}) ? std::optional(std::string())
                                                               : std::nullopt;
    std::string out;
    out.reserve(bytes.size() / 2 * 3);
    return appendAsUtf8(out, bytes, encoding) ? std::optional(std::move(out)) : std::nullopt;
}

} // namespace

std::string_view byteOrderMark(TextEncoding encoding)
{
    for (const Mark &mark : marks)
        if (mark.encoding == encoding)
            return mark.bytes;
    return {};
}

std::optional<TextEncoding> markedEncoding(std::string_view bytes)
{
    for (const Mark &mark : marks)
        if (bytes.starts_with(mark.bytes))
            return mark.encoding;
    return std::nullopt;
}

bool isUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        // Most of a list is ASCII: its bytes need no more than a look.
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = utf8Character(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

void appendUtf8(std::string &out, char32_t code)
{
    if (code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        code = 0xFFFD;
    if (code < 0x80) {
        out += static_cast<char>(code);
        return;
    }
    constexpr unsigned char lead[] = {0, 0xC0, 0xE0, 0xF0};
    const int tail = code < 0x800 ? 1 : code < 0x10000 ? 2 : 3;
    out += static_cast<char>(lead[tail] | (code >> (6 * tail)));
    for (int k = tail - 1; k >= 0; --k)
        out += static_cast<char>(0x80 | ((code >> (6 * k)) & 0x3F));
}

bool appendAsUtf8(std::string &out, std::string_view bytes, TextEncoding encoding)
{
    if (isUnits(encoding))
        return eachCharacter(bytes, encoding, [&](char32_t code) { appendUtf8(out, code); });
    if (encoding != TextEncoding::Utf8) {
        std::optional<std::string> text = chineseToUtf8(bytes, encoding);
        out += text ? *text : "\uFFFD";
        return text.has_value();
    }
    bool whole = true;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = utf8Character(bytes, i);
        if (length == 0) {
            out += "\uFFFD";
            whole = false;
            ++i;
        } else {
            out.append(bytes.substr(i, length));
            i += length;
        }
    }
    return whole;
}

std::size_t wholeCharacters(std::string_view bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return bytes.size() - cutUtf8(bytes);
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        // A high surrogate waits for its low one.
        std::size_t whole = bytes.size() - bytes.size() % 2;
        const std::size_t high = encoding == TextEncoding::Utf16Le ? 1 : 2;
        if (whole >= 2) {
            const auto last = static_cast<unsigned char>(bytes[whole - high]);
            if (last >= 0xD8 && last <= 0xDB)
                whole -= 2;
        }
        return whole;
    }
    case TextEncoding::Utf32Le:
    case TextEncoding::Utf32Be:
        return bytes.size() - bytes.size() % 4;
    case TextEncoding::Gb18030:
    case TextEncoding::Cp936:
        break;
    }
    return wholeChinese(bytes);
}

std::optional<DecodedText> decodeText(std::string_view bytes, bool keepText)
{
    if (const std::optional<TextEncoding> marked = markedEncoding(bytes)) {
        const std::size_t markSize = byteOrderMark(*marked).size();
        std::optional<std::string> text = strictlyUtf8(bytes.substr(markSize), *marked, keepText);
        if (!text)
            return std::nullopt;
        return DecodedText {*marked, markSize, std::move(*text)};
    }
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Gb18030, TextEncoding::Cp936})
        if (std::optional<std::string> text = strictlyUtf8(bytes, encoding, keepText))
            return DecodedText {encoding, 0, std::move(*text)};
    return std::nullopt;
}

PieceDecoder::PieceDecoder(TextEncoding encoding, std::size_t markSize)
    : m_encoding(encoding), m_markLeft(markSize)
{
}

void PieceDecoder::decode(std::string_view piece, std::string &utf8)
{
    const std::size_t mark = std::min(m_markLeft, piece.size());
    m_markLeft -= mark;
    m_pending.append(piece.substr(mark));
    const std::size_t whole = wholeCharacters(m_pending, m_encoding);
    appendAsUtf8(utf8, std::string_view(m_pending).substr(0, whole), m_encoding);
    m_pending.erase(0, whole);
}

void PieceDecoder::finish(std::string &utf8)
{
    if (!m_pending.empty())
        utf8 += "\uFFFD";
    m_pending.clear();
}

} // namespace zanvo
