// Reading the input of zanvo-scramble.
#include "cli/input.h"

#include "cli/error.h"
#include "cli/quote.h"
#include "runtime/largealloc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>

#ifdef _WIN32
#include "cli/patience.h"
#include "runtime/longpath.h"
#include "runtime/windowscalls.h"
#endif

namespace zanvo::cli {

namespace fs = std::filesystem;

namespace {

constexpr std::size_t readChunkBytes = 16 * 1024 * 1024;

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

// The size of an open regular file; 0 for anything else.
std::size_t regularSize(std::FILE *file)
{
#ifdef _WIN32
    struct _stat64 info;
    if (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)
        return 0;
#else
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
#endif
    return static_cast<std::size_t>(info.st_size);
}

} // namespace

fs::path pathFromUtf8(const std::string &name)
{
    return fs::path(std::u8string(name.begin(), name.end()));
}

InputBuffer readInput(const std::string &name,
                      const std::function<void(std::size_t, std::size_t)> &report)
{
    const bool standardInput = name == "-";
    const std::string shown = inputName(name);
#ifdef _WIN32
    const std::wstring path = windowsName(name);
    const DWORD attributes = windows::fileAttributes(path.c_str());
    if (!standardInput && attributes != INVALID_FILE_ATTRIBUTES
        && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw Error("cannot read " + shown + ": " + reason(EISDIR));
    // Another program that holds the file without sharing it (an antivirus scanning a fresh
    // download, an editor) is waited for as the replace step waits for one.
    std::FILE *file = stdin;
    if (!standardInput
        && !patiently([&] { return (file = windows::openFile(path.c_str(), L"rb")) != nullptr; }))
        throw Error("cannot open " + shown + " for reading: "
                    + (heldByAnotherProgram(GetLastError()) ? "another program is using it"
                                                            : reason(errno)));
#else
    const fs::path path = pathFromUtf8(name);
    std::error_code ec;
    if (!standardInput && fs::is_directory(path, ec))
        throw Error("cannot read " + shown + ": " + reason(EISDIR));
    std::FILE *file = standardInput ? stdin : std::fopen(path.c_str(), "rb");
#endif
    if (!file)
        throw Error("cannot open " + shown + " for reading: " + reason(errno));
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> closer(standardInput ? nullptr : file,
                                                            std::fclose);

    const std::size_t expected = standardInput ? 0 : regularSize(file);

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
                throw Error("error reading " + shown + ": " + reason(errno));
            break;
        }
    }
    return buffer;
}

} // namespace zanvo::cli
