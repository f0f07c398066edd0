// Built into a test copy of zanvo-scramble in place of its Windows calls: each call fails the way
// Windows can, in the order that ZANVO_TEST_FAULTS plans, then goes through. "replace:1177
// move:32*3 delete:5" makes the first replace fail half-way, the first three moves meet a
// sharing violation and the first delete access denied. A failing replace leaves the files as
// Windows does for its error: 1177 moves the old file to the backup's name (or, with none, to a
// name of its own), 1176 without a backup name removes the old file, any other changes nothing.
// "ctrl:2" sends the first replace, in its middle, the console control event 2 (the console
// closed; 1 is Ctrl+Break), as Windows sends it: the program's handler on a thread of its own,
// then the end of the process unless the handler took the event.
// Every call also refuses a name of 260 characters or more that is not in its extended form, as
// Windows does and Wine does not.
#include "runtime/windowscalls.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cwchar>
#include <deque>
#include <map>
#include <sstream>
#include <string>

namespace {

// The next fault planned for call, or 0 for none.
DWORD next(const std::string &call)
{
    static std::map<std::string, std::deque<DWORD>> plans = [] {
        std::map<std::string, std::deque<DWORD>> parsed;
        const char *plan = std::getenv("ZANVO_TEST_FAULTS");
        std::istringstream words(plan ? plan : "");
        for (std::string word; words >> word;) {
            const auto colon = word.find(':');
            auto &faults = parsed[word.substr(0, colon)];
            std::istringstream list(word.substr(colon + 1));
            for (std::string item; std::getline(list, item, ',');) {
                const auto star = item.find('*');
                const int times = star == std::string::npos ? 1 : std::stoi(item.substr(star + 1));
                faults.insert(faults.end(), static_cast<std::size_t>(times),
                              static_cast<DWORD>(std::stoul(item.substr(0, star))));
            }
        }
        return parsed;
    }();
    auto &faults = plans[call];
    if (faults.empty())
        return 0;
    const DWORD fault = faults.front();
    faults.pop_front();
    return fault;
}

template<class Failed = BOOL> Failed failWith(DWORD error, Failed failed = FALSE)
{
    SetLastError(error);
    return failed;
}

PHANDLER_ROUTINE handler = nullptr;

// Delivers event, and gives its handler a moment to act before the call goes on, as where the
// user pressed Ctrl+C in the middle of it.
void interrupt(DWORD event)
{
    const auto deliver = [](void *planned) -> DWORD {
        const auto sent = static_cast<DWORD>(reinterpret_cast<std::uintptr_t>(planned));
        if (!handler || !handler(sent))
            ExitProcess(STATUS_CONTROL_C_EXIT);
        return 0;
    };
    CloseHandle(CreateThread(nullptr, 0, deliver, reinterpret_cast<void *>(std::uintptr_t(event)),
                             0, nullptr));
    Sleep(300);
}

template<class... Names> bool tooLong(const Names *...names)
{
    return ((names && std::wcslen(names) >= MAX_PATH && std::wcsncmp(names, L"\\\\?\\", 4) != 0)
            || ...);
}

} // namespace

namespace zanvo::windows {

BOOL replaceFile(const wchar_t *replaced, const wchar_t *replacement, const wchar_t *backup)
{
    if (tooLong(replaced, replacement, backup))
        return failWith(ERROR_PATH_NOT_FOUND);
    const DWORD fault = next("replace");
    if (fault == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        MoveFileExW(replaced, backup ? backup : (std::wstring(replaced) + L"~").c_str(),
                    MOVEFILE_REPLACE_EXISTING);
    else if (fault == ERROR_UNABLE_TO_MOVE_REPLACEMENT && !backup)
        DeleteFileW(replaced);
    if (const DWORD event = next("ctrl"))
        interrupt(event);
    if (fault)
        return failWith(fault);
    return ReplaceFileW(replaced, replacement, backup,
                        REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                        nullptr);
}

BOOL moveFile(const wchar_t *from, const wchar_t *to)
{
    if (tooLong(from, to))
        return failWith(ERROR_PATH_NOT_FOUND);
    const DWORD fault = next("move");
    return fault ? failWith(fault) : MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING);
}

BOOL deleteFile(const wchar_t *name)
{
    if (tooLong(name))
        return failWith(ERROR_PATH_NOT_FOUND);
    const DWORD fault = next("delete");
    return fault ? failWith(fault) : DeleteFileW(name);
}

HANDLE createFile(const wchar_t *name, DWORD access, DWORD share, DWORD disposition, DWORD flags)
{
    if (tooLong(name))
        return failWith(ERROR_PATH_NOT_FOUND, INVALID_HANDLE_VALUE);
    return CreateFileW(name, access, share, nullptr, disposition, flags, nullptr);
}

DWORD fileAttributes(const wchar_t *name)
{
    if (tooLong(name))
        return failWith(ERROR_PATH_NOT_FOUND, INVALID_FILE_ATTRIBUTES);
    return GetFileAttributesW(name);
}

std::FILE *openFile(const wchar_t *name, const wchar_t *mode)
{
    if (tooLong(name)) {
        errno = ENOENT;
        return nullptr;
    }
    if (const DWORD fault = next("open")) {
        errno = EACCES;
        return failWith<std::FILE *>(fault, nullptr);
    }
    return _wfopen(name, mode);
}

BOOL addConsoleCtrlHandler(PHANDLER_ROUTINE added)
{
    handler = added;
    return TRUE;
}

} // namespace zanvo::windows
