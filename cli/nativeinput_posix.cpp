// The input's file on POSIX.
#include "cli/error.h"
#include "cli/input.h"
#include "cli/nativeinput.h"
#include "cli/quote.h"

#include <cerrno>
#include <sys/stat.h>

namespace zanvo::cli {

std::FILE *openInputFile(const std::string &name, const std::string &shown)
{
    std::error_code ec;
    if (std::filesystem::is_directory(pathFromUtf8(name), ec))
        throw Error("cannot read " + shown + ": " + reason(EISDIR));
    std::FILE *file = std::fopen(name.c_str(), "rb");
    if (!file)
        throw Error("cannot open " + shown + " for reading: " + reason(errno));
    return file;
}

std::size_t regularSize(std::FILE *file)
{
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
        return 0;
    return static_cast<std::size_t>(info.st_size);
}

} // namespace zanvo::cli
