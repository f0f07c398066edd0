// The input's file on Windows: named full and extended, at any length, and waited for while
// another program holds it.
#include "cli/error.h"
#include "cli/nativeinput.h"
#include "cli/patience.h"
#include "cli/quote.h"
#include "runtime/longpath.h"
#include "runtime/windowscalls.h"

#include <cerrno>
#include <sys/stat.h>

namespace zanvo::cli {

std::FILE *openInputFile(const std::string &name, const std::string &shown)
{
    const std::wstring path = windowsName(name);
    const DWORD attributes = windows::fileAttributes(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        throw Error("cannot read " + shown + ": " + reason(EISDIR));
    // Another program that holds the file without sharing it (an antivirus scanning a fresh
    // download, an editor) is waited for as the replace step waits for one.
    std::FILE *file = nullptr;
    if (!patiently([&] { return (file = windows::openFile(path.c_str(), L"rb")) != nullptr; }))
        throw Error("cannot open " + shown + " for reading: "
                    + (heldByAnotherProgram(GetLastError()) ? "another program is using it"
                                                            : reason(errno)));
    return file;
}

std::size_t regularSize(std::FILE *file)
{
    struct _stat64 info;
    if (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG)
        return 0;
    return static_cast<std::size_t>(info.st_size);
}

} // namespace zanvo::cli
