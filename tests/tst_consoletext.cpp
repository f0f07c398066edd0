// The output as a Windows console takes it: whatever the pieces the output is written in, the
// console gets the same UTF-16, without byte-order marks.
#include "cli/consoletext.h"

#include <gtest/gtest.h>

using zanvo::cli::ConsoleText;

namespace {

// The UTF-16 a console gets for bytes written in two pieces, split at at.
std::wstring shown(std::string_view bytes, std::size_t at)
{
    ConsoleText console;
    std::wstring out;
    console.decode(bytes.substr(0, at), out);
    console.decode(bytes.substr(at), out);
    console.finish(out);
    return out;
}

} // namespace

TEST(ConsoleText, EveryEncodingComesOutWholeWhereverThePiecesEnd)
{
    const std::wstring text = L"网\r\n😀a";
    const std::string outputs[] = {
        "\xE7\xBD\x91\r\n\xF0\x9F\x98\x80"
        "a",
        "\xEF\xBB\xBF\xE7\xBD\x91\r\n\xF0\x9F\x98\x80"
        "a",
        std::string("\xFF\xFE\x51\x7F\r\0\n\0\x3D\xD8\x00\xDE"
                    "a\0",
                    14),
        std::string("\xFE\xFF\x7F\x51\0\r\0\n\xD8\x3D\xDE\x00\0a", 14),
        std::string("\xFF\xFE\0\0\x51\x7F\0\0\r\0\0\0\n\0\0\0\x00\xF6\x01\0"
                    "a\0\0\0",
                    24),
        std::string("\0\0\xFE\xFF\0\0\x7F\x51\0\0\0\r\0\0\0\n\0\x01\xF6\x00\0\0\0a", 24),
    };
    for (const std::string &output : outputs)
        for (std::size_t at = 0; at <= output.size(); ++at)
            EXPECT_EQ(shown(output, at), text) << at << " in " << testing::PrintToString(output);
}

TEST(ConsoleText, ACutCharacterAtTheEndShowsAsReplacement)
{
    EXPECT_EQ(shown("a\xE7\xBD", 3), L"a\xFFFD");
    EXPECT_EQ(shown(std::string("\xFF\xFE"
                                "a\0\x3D\xD8",
                                6),
                    6),
              L"a\xFFFD");
}
