// A text's encoding, decided once for the dropped file, the command line and the console: one
// table of texts, each read whole and in two pieces wherever the cut falls.
#include "marked.h"
#include "runtime/encoding.h"

#include <gtest/gtest.h>

using namespace zanvo;

namespace {

struct Row {
    std::string bytes;
    std::optional<TextEncoding> encoding; // nothing where the text is refused
    std::string utf8;
};

// The same list in every encoding, and texts that tell the encodings apart.
std::vector<Row> rows()
{
    using E = TextEncoding;
    const std::string list = "昵称一\r\n签名𠮷\nend";
    const std::u16string list16 = u"昵称一\r\n签名𠮷\nend";
    const std::u32string list32 = U"昵称一\r\n签名𠮷\nend";
    const std::string gb = "\xEA\xC7\xB3\xC6\xD2\xBB\r\n\xC7\xA9\xC3\xFB\x95\x34\xB2\x35\nend";
    // Where the system lacks GB18030 (Wine), code page 936 reads for it, € included, but not its
    // four-byte sequences.
    const bool all = readsAllOfGb18030();
    return {
        {list, E::Utf8, list},
        {"\xEF\xBB\xBF" + list, E::Utf8, list},
        {test::utf16(list16, false), E::Utf16Le, list},
        {test::utf16(list16, true), E::Utf16Be, list},
        {test::utf32(list32, false), E::Utf32Le, list},
        {test::utf32(list32, true), E::Utf32Be, list},
        {gb, all ? std::optional(E::Gb18030) : std::nullopt, all ? list : ""},
        {"\x84\x31\x95\x33" + gb, all ? std::optional(E::Gb18030) : std::nullopt, all ? list : ""},
        // Valid UTF-8 is UTF-8, though its bytes are valid GBK too; 联通 in GBK is no UTF-8.
        {"\xE4\xB8\xAD\xE6\x96\x87", E::Utf8, "中文"},
        {"\xC1\xAA\xCD\xA8", E::Gb18030, "联通"},
        // Notepad's "ANSI" on Chinese Windows writes € as 0x80, which GB18030 refuses.
        {"\x80\xD6\xD0\r\n", all ? E::Cp936 : E::Gb18030, "€中\r\n"},
        {test::utf16(u"签名𠮷", false), E::Utf16Le, "签名𠮷"},
        {"caf\xE9 \xFF", std::nullopt, ""},
        {"\xD2\xBB\xB6", std::nullopt, ""}, // cut off
        {"\xEF\xBB\xBF\xC1\xAA", std::nullopt, ""},
        {"\x84\x31\x95\x33\xFF", std::nullopt, ""},
        {std::string("\xFF\xFE\x60\x4F\x7D", 5), std::nullopt, ""},
        {std::string("\xFF\xFE\x3D\xD8\x41\0", 6), std::nullopt, ""},
        {std::string("\xFF\xFE\x00\xDC", 4), std::nullopt, ""},
        {std::string("\0\0\xFE\xFF\0\x11\0\0", 8), std::nullopt, ""},
    };
}

std::string inTwoPieces(std::string_view bytes, TextEncoding encoding, std::size_t cut,
                        std::size_t markSize = 0)
{
    PieceDecoder decoder(encoding, markSize);
    std::string out;
    decoder.decode(bytes.substr(0, cut), out);
    decoder.decode(bytes.substr(cut), out);
    decoder.finish(out);
    return out;
}

} // namespace

TEST(Encoding, EachTextIsDecidedAndReadTheSameWholeOrInPieces)
{
    for (const Row &row : rows()) {
        const std::string shown = testing::PrintToString(row.bytes);
        const std::optional<DecodedText> decoded = decodeText(row.bytes);
        const std::optional<DecodedText> decided = decodeText(row.bytes, false);
        ASSERT_EQ(decoded.has_value(), row.encoding.has_value()) << shown;
        ASSERT_EQ(decided.has_value(), row.encoding.has_value()) << shown;
        if (!decoded)
            continue;
        EXPECT_EQ(decided->encoding, *row.encoding) << shown;
        EXPECT_EQ(decoded->encoding, *row.encoding) << shown;
        EXPECT_EQ(decoded->utf8, row.utf8) << shown;
        EXPECT_EQ(decoded->markSize,
                  markedEncoding(row.bytes) ? byteOrderMark(*row.encoding).size() : 0)
            << shown;
        for (std::size_t cut = 0; cut <= row.bytes.size(); ++cut)
            EXPECT_EQ(inTwoPieces(row.bytes, *row.encoding, cut, decoded->markSize), row.utf8)
                << cut << " in " << shown;
    }
}

TEST(Encoding, InPiecesWhatIsNoCharacterComesOutAsReplacement)
{
    using E = TextEncoding;
    const std::tuple<std::string, E, std::size_t, std::string> rows[] = {
        {"a\xE7\xBD", E::Utf8, 3, "a\uFFFD"}, // cut off at the end
        {"a\xFF!", E::Utf8, 1, "a\uFFFD!"},
        {std::string("a\0\x3D\xD8", 4), E::Utf16Le, 4, "a\uFFFD"},
        {std::string("a\0\x00\xDC!\0", 6), E::Utf16Le, 1, "a\uFFFD!"},
        {std::string("\0\x11\0\0\0\0\0a", 8), E::Utf32Be, 5, "\uFFFDa"},
    };
    for (const auto &[bytes, encoding, cut, shown] : rows)
        EXPECT_EQ(inTwoPieces(bytes, encoding, cut), shown) << testing::PrintToString(bytes);
}

TEST(Encoding, Utf8IsCheckedForEveryKindOfMalformedSequence)
{
    EXPECT_TRUE(isUtf8("ascii 网名 \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
    for (const char *bad : {"\x80", "\xC1\xBF", "\xE0\x9F\xBF", "\xED\xA0\x80", "\xF4\x90\x80\x80",
                            "\xE4\xB8", "\xF8\x88\x80\x80\x80", "\xE4\x41\xAD", "\xBF\xBF"})
        EXPECT_FALSE(isUtf8(bad)) << bad;
}
