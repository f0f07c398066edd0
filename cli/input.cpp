// Reading the input of zanvo-scramble.
#include "cli/input.h"

#include "cli/error.h"
#include "cli/nativeinput.h"
#include "cli/quote.h"
#include "runtime/largealloc.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

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
    std::FILE *file = standardInput ? stdin : openInputFile(name, shown);
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
