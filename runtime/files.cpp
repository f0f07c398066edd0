// Files named in UTF-8: reading a whole one, on every platform.
#include "runtime/files.h"

#include <memory>

namespace zanvo {

FileRead readRegularFile(const std::string &name, std::size_t limit, std::string &bytes)
{
    switch (fileKind(name)) {
    case FileKind::Missing:
        return FileRead::Missing;
    case FileKind::Other:
        return FileRead::NotRegular;
    case FileKind::Regular:
        break;
    }
    const std::unique_ptr<std::FILE, int (*)(std::FILE *)> in(openForReading(name), std::fclose);
    if (!in)
        return FileRead::Unreadable;
    bytes.clear();
    // One piece more than the limit allows shows a file that is larger.
    constexpr std::size_t piece = 1 << 20;
    while (!std::feof(in.get()) && bytes.size() <= limit) {
        const std::size_t had = bytes.size();
        bytes.resize(had + piece);
        bytes.resize(had + std::fread(bytes.data() + had, 1, piece, in.get()));
        if (std::ferror(in.get()))
            return FileRead::Unreadable;
    }
    return bytes.size() > limit ? FileRead::TooLarge : FileRead::Read;
}

} // namespace zanvo
