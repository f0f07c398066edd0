// The Windows calls that take a file's name, as the system makes them.
#include "runtime/windowscalls.h"

namespace zanvo::windows {

BOOL replaceFile(const wchar_t *replaced, const wchar_t *replacement, const wchar_t *backup)
{
    return ReplaceFileW(replaced, replacement, backup,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr);
}

BOOL moveFile(const wchar_t *from, const wchar_t *to)
{
    return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING);
}

BOOL deleteFile(const wchar_t *name)
{
    return DeleteFileW(name);
}

HANDLE createFile(const wchar_t *name, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    return CreateFileW(name, access, share, nullptr, disposition, flags, nullptr);
}

DWORD fileAttributes(const wchar_t *name)
{
    return GetFileAttributesW(name);
}

std::FILE *openFile(const wchar_t *name, const wchar_t *mode)
{
    return _wfopen(name, mode);
}

BOOL addConsoleCtrlHandler(PHANDLER_ROUTINE handler)
{
    return SetConsoleCtrlHandler(handler, TRUE);
}

} // namespace zanvo::windows
