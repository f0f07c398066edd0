// Where zanvo-scramble's output lands: standard output, a device or pipe written as it is, or a
// regular file that is replaced whole or, where it cannot be, rewritten in place. The policy is
// the same on every platform; NativeFile holds each platform's system calls.
#pragma once

#include "cli/nativefile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace zanvo::cli {

class OutputFile {
public:
    // Opens the output: standard output where path is absent, else the file the name (UTF-8)
    // finally leads to, links followed. Raises Error naming the file, before anything in it
    // changes, where it cannot or must not be written (a folder, a write-protected file, a link
    // loop).
    explicit OutputFile(const std::optional<std::string> &path);

    // The size the whole output will have, given before the first write. The space is reserved
    // now, so that a full disk shows before the old text is touched; where a replacement cannot
    // get it, the file is rewritten in place instead, which needs no more room than it has for a
    // result no longer than the old text.
    void reserve(std::uint64_t bytes);

    // The output is to hold text's lines, given before the first write: a console shows it in
    // text's encoding, decided as a file's is. Elsewhere the output is bytes, as they are.
    void takeEncodingOf(std::string_view text) { m_file.takeEncodingOf(text); }

    // Writes all of bytes, or raises Error.
    void write(const char *bytes, std::size_t size);

    // Finishes the output: the last data out, a new file put in place of the old one. An output
    // destroyed without it is discarded: a new file is removed, an existing one keeps its text
    // unless the in-place rewrite had already begun.
    void commit();

    // The output's name for messages: quoted, or "standard output".
    const std::string &shownName() const { return m_shown; }

private:
    // How a regular file that already exists is given its new text.
    enum class Method {
        Stream, // standard output, a device or a pipe: written as it is
        Replace, // a new file beside it, renamed over it once complete: a kill at any moment
                 // leaves either the old file or the new one
        InPlace, // the file itself rewritten once the input is complete, where replacing would
                 // lose something: its other hard links, or a folder that takes no new file;
                 // the ending signals wait from the first write until the file is whole
    };

    std::error_code createReplacement();

    NativeFile m_file;
    std::string m_shown;
    Method m_method = Method::Stream;
    std::uint64_t m_size = 0;
    bool m_replacesExisting = false; // a replacement for a file that could be rewritten in place
};

} // namespace zanvo::cli
