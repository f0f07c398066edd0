// The Windows calls that read files and put a replacement in place. They are called through here,
// so that a test build can make each fail as Windows does when an antivirus, an indexer or a sync
// client holds a file for a moment, or when a name of 260 characters or more is not in its
// extended form.
#pragma once

#include <cstdio>
#include <windows.h>

namespace zanvo::windows {

// ReplaceFileW, keeping what the replaced file has besides its text, its old file under backup.
BOOL replaceFile(const wchar_t *replaced, const wchar_t *replacement, const wchar_t *backup);
// MoveFileExW onto a name that may be taken.
BOOL moveFile(const wchar_t *from, const wchar_t *to);
BOOL deleteFile(const wchar_t *name);
HANDLE createFile(const wchar_t *name, DWORD access, DWORD share, DWORD disposition, DWORD flags);
DWORD fileAttributes(const wchar_t *name);
// _wfopen: the input is read through the C library.
std::FILE *openFile(const wchar_t *name, const wchar_t *mode);

} // namespace zanvo::windows
