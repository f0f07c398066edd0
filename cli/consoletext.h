// The output as a Windows console takes it: a console shows the bytes of WriteFile in its own
// code page (936 on Chinese Windows), where the output is UTF-8 or UTF-16, so it is given UTF-16
// through WriteConsoleW instead.
#pragma once

#include <string>
#include <string_view>

namespace zanvo::cli {

class ConsoleText {
public:
    // Appends the UTF-16 of the next bytes of the output to out. The encoding is the one the
    // output's first bytes announce: a UTF-16 or UTF-32 byte-order mark, else UTF-8 (invalid
    // sequences show as U+FFFD). Byte-order marks are not shown; a character cut between two
    // pieces waits for the next.
    void decode(std::string_view bytes, std::wstring &out);
    // The end of the output: what is left of a cut character shows as U+FFFD.
    void finish(std::wstring &out);

private:
    enum class Encoding { Unknown, Utf8, Utf16LE, Utf16BE, Utf32LE, Utf32BE };
    // Takes the encoding from the first bytes' mark; false while they could still become one.
    bool decideEncoding(bool final);
    void decodeWhole(std::string_view bytes, std::wstring &out);

    Encoding m_encoding = Encoding::Unknown;
    std::string m_pending;
};

} // namespace zanvo::cli
