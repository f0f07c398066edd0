// The Windows calls that read files and put a replacement in place, and the console's handler of
// Ctrl+C. They are called through here, so that a test build can make each fail as Windows does
// when an antivirus, an indexer or a sync client holds a file for a moment, or when a name of 260
// characters or more is not in its extended form, and can send Ctrl+C at a moment of its choice.
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
// SetConsoleCtrlHandler, adding handler: Windows calls it on a thread of its own for Ctrl+C,
// Ctrl+Break and a closed console, then ends the process unless it handled the event.
BOOL addConsoleCtrlHandler(PHANDLER_ROUTINE handler);

} // namespace zanvo::windows
