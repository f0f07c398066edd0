// The output as a Windows console takes it.
#include "cli/consoletext.h"
#include "runtime/utf16.h"

namespace zanvo::cli {

namespace {

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

unsigned char byteAt(std::string_view bytes, std::size_t i)
{
    return static_cast<unsigned char>(bytes[i]);
}

} // namespace

void ConsoleText::decode(std::string_view bytes, std::wstring &out)
{
    m_pending.append(bytes);
    if (m_encoding == Encoding::Unknown && !decideEncoding(false))
        return;
    std::size_t whole = m_pending.size();
    switch (m_encoding) {
    case Encoding::Utf8:
        whole -= cutUtf8(m_pending);
        break;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        whole -= whole % 2;
        // A high surrogate waits for its low one.
        const bool little = m_encoding == Encoding::Utf16LE;
        if (whole >= 2) {
            const unsigned last = byteAt(m_pending, whole - (little ? 1 : 2));
            if (last >= 0xD8 && last <= 0xDB)
                whole -= 2;
        }
        break;
    }
    default:
        whole -= whole % 4;
    }
    decodeWhole(std::string_view(m_pending).substr(0, whole), out);
    m_pending.erase(0, whole);
}

bool ConsoleText::decideEncoding(bool final)
{
    static constexpr struct {
        std::string_view mark;
        Encoding encoding;
    } marks[] = {
        // UTF-32 LE's mark begins with UTF-16 LE's, so it is looked for first.
        {{"\xFF\xFE\0\0", 4}, Encoding::Utf32LE}, {{"\0\0\xFE\xFF", 4}, Encoding::Utf32BE},
        {"\xFF\xFE", Encoding::Utf16LE},          {"\xFE\xFF", Encoding::Utf16BE},
        {"\xEF\xBB\xBF", Encoding::Utf8},
    };
    const std::string_view start = m_pending;
    // The first bytes could still become a longer mark: they wait for more.
    for (const auto &[mark, encoding] : marks)
        if (!final && start.size() < mark.size() && mark.starts_with(start))
            return false;
    m_encoding = Encoding::Utf8;
    for (const auto &[mark, encoding] : marks)
        if (start.starts_with(mark)) {
            m_encoding = encoding;
            m_pending.erase(0, mark.size());
            break;
        }
    return true;
}

void ConsoleText::finish(std::wstring &out)
{
    if (m_encoding == Encoding::Unknown) {
        decideEncoding(true);
        decode({}, out);
    }
    if (!m_pending.empty())
        out += L'\xFFFD';
    m_pending.clear();
}

void ConsoleText::decodeWhole(std::string_view bytes, std::wstring &out)
{
    switch (m_encoding) {
    case Encoding::Utf8:
        out += wide(bytes);
        return;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
        const bool little = m_encoding == Encoding::Utf16LE;
        for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
            out += static_cast<wchar_t>(little ? byteAt(bytes, i) | byteAt(bytes, i + 1) << 8
                                               : byteAt(bytes, i) << 8 | byteAt(bytes, i + 1));
        return;
    }
    default: {
        const bool little = m_encoding == Encoding::Utf32LE;
        for (std::size_t i = 0; i + 3 < bytes.size(); i += 4) {
            char32_t c = 0;
            for (std::size_t k = 0; k < 4; ++k)
                c |= char32_t(byteAt(bytes, i + k)) << (little ? 8 * k : 24 - 8 * k);
            if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
                out += L'\xFFFD';
            else if (c >= 0x10000)
                out += {static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)),
                        static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
            else
                out += static_cast<wchar_t>(c);
        }
    }
    }
}

} // namespace zanvo::cli
