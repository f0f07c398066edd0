// Input and output files of zanvo-scramble.
#include "cli/files.h"

#include "runtime/largealloc.h"

#include <cerrno>
#include <cstring>
#include <random>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#include <unistd.h>
#endif

namespace zanvo::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t outputBufferBytes = 256 * 1024;
constexpr std::size_t readChunkBytes = 16 * 1024 * 1024;

std::string quoted(const std::string &name)
{
    return "'" + name + "'";
}

std::string reason(int error)
{
    return std::strerror(error);
}

std::FILE *openFile(const fs::path &path, const char *mode)
{
#ifdef _WIN32
    std::wstring wideMode(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
#else
    return std::fopen(path.c_str(), mode);
#endif
}

void useBinaryMode(std::FILE *stream)
{
#ifdef _WIN32
    _setmode(_fileno(stream), _O_BINARY);
#else
    (void)stream;
#endif
}

struct Block {
    char *data;
    std::size_t capacity;
};

Block grow(InputBuffer &buffer, std::size_t capacity)
{
    auto *bigger = static_cast<char *>(allocateLarge(capacity));
    if (buffer.size)
        std::memcpy(bigger, buffer.data.get(), buffer.size);
    buffer.data = std::shared_ptr<char>(bigger, freeLarge);
    return {bigger, capacity};
}

#ifndef _WIN32
// The temporary file of the output under way, removed should a signal end the program first:
// an interrupted run leaves nothing behind, as a failed one does.
char pendingTemporary[4096];
volatile std::sig_atomic_t temporaryPending = 0;

extern "C" void removeTemporaryAndDie(int signal)
{
    if (temporaryPending)
        unlink(pendingTemporary);
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void guardTemporary(const fs::path &path)
{
    const std::string name = path.string();
    if (name.size() >= sizeof pendingTemporary)
        return;
    std::memcpy(pendingTemporary, name.c_str(), name.size() + 1);
    temporaryPending = 1;
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE})
        std::signal(signal, removeTemporaryAndDie);
}

void releaseTemporary()
{
    temporaryPending = 0;
}
#else
void guardTemporary(const fs::path &) { }
void releaseTemporary() { }
#endif

} // namespace

InputBuffer readInput(const std::string &name,
                      const std::function<void(std::size_t, std::size_t)> &report)
{
    const bool standardInput = name == "-";
    const std::string shown = standardInput ? "standard input" : quoted(name);
    std::FILE *file = standardInput ? stdin : openFile(fs::path(name), "rb");
    if (!file)
        throw IoError("cannot open " + shown + " for reading: " + reason(errno));
    if (standardInput)
        useBinaryMode(stdin);
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(standardInput ? nullptr : file,
                                                            std::fclose);

    std::error_code ec;
    std::size_t expected = 0;
    if (!standardInput && fs::is_regular_file(fs::path(name), ec))
        expected = static_cast<std::size_t>(fs::file_size(fs::path(name), ec));
    if (!standardInput && fs::is_directory(fs::path(name), ec))
        throw IoError("cannot read " + shown + ": " + reason(EISDIR));

    InputBuffer buffer;
    // One byte more than the expected size, so the end of the file shows without a regrowth.
    Block block = grow(buffer, expected ? expected + 1 : readChunkBytes);
    while (true) {
        if (buffer.size == block.capacity)
            block = grow(buffer, block.capacity * 2);
        const std::size_t want = std::min(readChunkBytes, block.capacity - buffer.size);
        const std::size_t got = std::fread(block.data + buffer.size, 1, want, file);
        buffer.size += got;
        report(buffer.size, expected);
        if (got < want) {
            if (std::ferror(file))
                throw IoError("error reading " + shown + ": " + reason(errno));
            break;
        }
    }
    return buffer;
}

Output::Output(const std::optional<std::string> &path)
    : m_name(path ? quoted(*path) : "standard output"), m_buffer(outputBufferBytes)
{
    if (!path) {
        m_file = stdout;
        useBinaryMode(stdout);
        return;
    }
    fs::path target(*path);
    std::error_code ec;
    // A link is followed, so that the file it names is replaced and the link stays a link.
    if (fs::is_symlink(fs::symlink_status(target, ec))) {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            target = resolved;
    }
    const auto status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        // A device or a pipe can only be written to, never replaced: /dev/null stays a device.
        m_file = openFile(target, "wb");
        if (!m_file)
            throw IoError("cannot open " + m_name + " for writing: " + reason(errno));
        return;
    }
    m_target = target;
    std::random_device device;
    // Exclusive creation: an existing file of that name is never touched, only skipped.
    for (int attempt = 0; attempt < 100 && !m_file; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%08x.tmp", device());
        m_temporary = m_target->string() + suffix;
        m_file = openFile(m_temporary, "wbx");
        if (!m_file && errno != EEXIST)
            break;
    }
    if (!m_file)
        throw IoError("cannot create " + m_name + ": " + reason(errno));
    guardTemporary(m_temporary);
}

Output::~Output()
{
    if (!m_file || m_file == stdout)
        return;
    std::fclose(m_file);
    if (m_target)
        discardTemporary();
}

void Output::discardTemporary()
{
    std::error_code ignored;
    fs::remove(m_temporary, ignored);
    releaseTemporary();
}

void Output::fail(const char *what)
{
    throw IoError(std::string(what) + " " + m_name + ": " + reason(errno));
}

void Output::writeThrough(const char *bytes, std::size_t size)
{
    errno = 0;
    if (std::fwrite(bytes, 1, size, m_file) != size)
        fail("error writing");
    m_flushed += size;
    if (m_report)
        m_report(m_flushed);
}

void Output::flush()
{
    if (m_used == 0)
        return;
    const std::size_t used = m_used;
    m_used = 0;
    writeThrough(m_buffer.data(), used);
}

void Output::commit()
{
    flush();
    errno = 0;
    // A full disk often shows only now, when the C library hands over its last buffer.
    if (std::fflush(m_file) != 0 || std::ferror(m_file))
        fail("error writing");
    std::FILE *file = m_file;
    m_file = nullptr;
    if (!m_target) {
        if (std::fclose(file) != 0)
            fail("error writing");
        return;
    }
    if (std::fclose(file) != 0) {
        const int error = errno;
        discardTemporary();
        errno = error;
        fail("error writing");
    }
    std::error_code ec;
    // A replaced file keeps its permissions.
    const auto status = fs::status(*m_target, ec);
    if (!ec && fs::exists(status))
        fs::permissions(m_temporary, status.permissions(), ec);
    fs::rename(m_temporary, *m_target, ec);
    if (ec) {
        discardTemporary();
        throw IoError("cannot replace " + m_name + ": " + ec.message());
    }
    releaseTemporary();
}

} // namespace zanvo::cli
