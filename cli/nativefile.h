// The system calls behind an OutputFile, one set for each platform. OutputFile decides which to
// make and when; each call here only carries one out and reports how it failed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

namespace zanvo::cli {

// What an output's name leads to, before anything is opened for writing.
enum class Found {
    Nothing, // no file: one is created
    Folder,
    Stream, // a device, a pipe or a console: written as it is
    OwnOutput, // the program's own standard output, under another name (/dev/stdout)
    Regular, // a file on disk
    LinkedRegular, // a file on disk that other hard links also lead to
};

class NativeFile {
public:
    NativeFile();
    // Closes what is open, standard output excepted, and removes the replacement if it has a name.
    ~NativeFile();
    NativeFile(const NativeFile &) = delete;
    NativeFile &operator=(const NativeFile &) = delete;

    void useStandardOutput();
    // See OutputFile::takeEncodingOf.
    void takeEncodingOf(std::string_view text);

    // Takes name (UTF-8) as the target: on POSIX the file its links finally lead to.
    std::error_code resolve(const std::string &name);
    std::error_code find(Found &found);
    // Whether the user may write the target, by its permissions and its file system.
    std::error_code mayWrite() const;
    std::error_code openExisting();

    // A replacement without a name until it is complete; std::errc::operation_not_supported where
    // the system has none, and createNamed is next.
    std::error_code createUnnamed();
    // A replacement called leaf in the target's folder, created exclusively (std::errc::file_exists
    // where the name is taken) and recorded so that an ending signal removes it.
    std::error_code createNamed(const std::string &leaf);
    // Gives the unnamed replacement the name leaf, as createNamed would.
    std::error_code nameUnnamed(const std::string &leaf);
    bool unnamed() const;
    // Gives the replacement what the target has beyond its text (owner, group, permissions, and
    // where the system has them its ACL and extended attributes), or for a new file a new file's
    // permissions.
    std::error_code adoptIdentity();
    // Puts the closed replacement where the target is. Where that fails, the target stays as it
    // was; or, where Windows fails half-way and neither text can be put back under the target's
    // name, both are kept beside it under the names kept() gives.
    std::error_code putInPlace();
    struct Kept {
        std::string result, old; // leaf names, UTF-8
    };
    std::optional<Kept> kept() const;
    // Closes and removes the replacement, unless it is kept; nothing else of it remains.
    void dropReplacement() noexcept;

    // Holds back the signals that end the program (Ctrl+C and its kin) until the file is closed or
    // dropped, and acts on them then: a rewrite in place, once begun, ends whole.
    void holdEndingSignals();

    // Reserves space for bytes where the file system can; one that cannot is no error.
    std::error_code reserve(std::uint64_t bytes);
    std::error_code write(const char *bytes, std::size_t size);
    std::error_code truncate(std::uint64_t size);
    // Some file systems report a failed write only when the file is closed.
    std::error_code close();

private:
    struct State;
    std::unique_ptr<State> m_state;
};

// Whether error says that the file system, or the user's share of it, is full.
bool isDiskFull(std::error_code error);

// The system's description of error, as UTF-8.
std::string describe(std::error_code error);

} // namespace zanvo::cli
