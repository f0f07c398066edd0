// The output file on Windows.
#include "cli/error.h"
#include "cli/input.h"
#include "cli/outputfile.h"
#include "cli/quote.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <windows.h>

namespace zanvo::cli {

namespace fs = std::filesystem;

namespace {

// The system's description of error, in the user's language, as UTF-8.
std::string systemMessage(DWORD error)
{
    wchar_t *buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", length);
    LocalFree(buffer);
    while (!text.empty()
           && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' '
               || text.back() == L'.'))
        text.pop_back();
    if (text.empty())
        return "error " + std::to_string(error);
    const auto bytes = fs::path(text).u8string();
    return std::string(bytes.begin(), bytes.end());
}

[[noreturn]] void failWith(const std::string &what, DWORD error)
{
    throw Error(what + ": " + systemMessage(error));
}

// The replacement under way, deleted should Ctrl+C, Ctrl+Break or closing the console end the
// program first. The file is open for deletion by name, and goes once the process has ended.
wchar_t pendingName[32768];
volatile LONG namePending = 0;

BOOL WINAPI removePending(DWORD)
{
    if (namePending)
        DeleteFileW(pendingName);
    // Not handled here: the next handler, the system's own, ends the process.
    return FALSE;
}

void recordPending(const fs::path &name)
{
    static const bool installed = SetConsoleCtrlHandler(removePending, TRUE) != 0;
    (void)installed;
    const std::wstring text = name.wstring();
    if (text.size() >= std::size(pendingName))
        return;
    namePending = 0;
    std::copy(text.c_str(), text.c_str() + text.size() + 1, pendingName);
    namePending = 1;
}

bool writeAll(HANDLE handle, const char *bytes, std::size_t size)
{
    constexpr std::size_t largestWrite = 1u << 30;
    while (size > 0) {
        DWORD done = 0;
        const DWORD want = static_cast<DWORD>(size < largestWrite ? size : largestWrite);
        if (!WriteFile(handle, bytes, want, &done, nullptr))
            return false;
        bytes += done;
        size -= done;
    }
    return true;
}

} // namespace

struct OutputFile::Native {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool ownsHandle = true;
    fs::path target;
    fs::path temporary;
    std::uint64_t size = 0;

    // Creates the replacement beside the target, exclusively: an existing file of the same name
    // is never opened. Returns false, with the error in GetLastError(), where the folder takes
    // no new file.
    bool createReplacement()
    {
        static std::random_device device;
        const fs::path folder = target.parent_path();
        for (int attempt = 0; attempt < 100; ++attempt) {
            wchar_t name[32];
            std::swprintf(name, std::size(name), L".zanvo-scramble-%08x", device());
            temporary = folder / name;
            handle = CreateFileW(temporary.c_str(), GENERIC_WRITE | DELETE,
                                 FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
            if (handle != INVALID_HANDLE_VALUE) {
                recordPending(temporary);
                return true;
            }
            if (GetLastError() != ERROR_FILE_EXISTS)
                break;
        }
        temporary.clear();
        return false;
    }

    void dropReplacement() noexcept
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        if (!temporary.empty())
            DeleteFileW(temporary.c_str());
        namePending = 0;
        temporary.clear();
    }
};

OutputFile::OutputFile(const std::optional<std::string> &path)
    : m_native(std::make_unique<Native>())
{
    Native &p = *m_native;
    if (!path) {
        m_shown = "standard output";
        p.handle = GetStdHandle(STD_OUTPUT_HANDLE);
        p.ownsHandle = false;
        return;
    }
    m_shown = quoteName(*path);
    const std::string opening = "cannot open " + m_shown + " for writing";

    // ReplaceFile takes a file name relative to the working folder for a folder's name.
    std::error_code ec;
    p.target = fs::absolute(pathFromUtf8(*path), ec);
    if (ec)
        failWith(opening, static_cast<DWORD>(ec.value()));

    // A look at what the name is, without the right to change it.
    HANDLE probe
        = CreateFileW(p.target.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (probe == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_NOT_FOUND)
            failWith(opening, error);
        m_method = Method::Replace;
        if (!p.createReplacement())
            failWith(opening, GetLastError());
        return;
    }
    const DWORD type = GetFileType(probe);
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = GetFileInformationByHandle(probe, &info);
    CloseHandle(probe);
    if (type != FILE_TYPE_DISK) {
        // NUL, a console or a pipe: written to as it is.
        p.handle = CreateFileW(p.target.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
        if (p.handle == INVALID_HANDLE_VALUE)
            failWith(opening, GetLastError());
        return;
    }
    if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        fail(opening, EISDIR);
    // A read-only file is not replaced behind its protection.
    if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        fail(opening, EACCES);
    if (known && info.nNumberOfLinks == 1 && p.createReplacement()) {
        m_method = Method::Replace;
        return;
    }
    m_method = Method::InPlace;
    p.handle = CreateFileW(p.target.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (p.handle == INVALID_HANDLE_VALUE)
        failWith(opening, GetLastError());
}

OutputFile::~OutputFile()
{
    discard();
}

void OutputFile::discard() noexcept
{
    Native &p = *m_native;
    if (m_committed || !p.ownsHandle)
        return;
    if (m_method == Method::Replace)
        p.dropReplacement();
    else if (p.handle != INVALID_HANDLE_VALUE)
        CloseHandle(p.handle);
    p.handle = INVALID_HANDLE_VALUE;
}

void OutputFile::fail(const std::string &what, int error) const
{
    throw Error(what + ": " + reason(error));
}

void OutputFile::reserve(std::uint64_t bytes)
{
    if (m_method != Method::InPlace || bytes == 0)
        return;
    FILE_ALLOCATION_INFO allocation {};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(bytes);
    // A file system that cannot reserve space is written without.
    if (!SetFileInformationByHandle(m_native->handle, FileAllocationInfo, &allocation,
                                    sizeof allocation)
        && GetLastError() == ERROR_DISK_FULL)
        failWith("cannot reserve space for " + m_shown, ERROR_DISK_FULL);
}

void OutputFile::write(const char *bytes, std::size_t size)
{
    if (!writeAll(m_native->handle, bytes, size))
        failWith("error writing " + m_shown, GetLastError());
    m_native->size += size;
}

void OutputFile::commit()
{
    Native &p = *m_native;
    if (m_method == Method::InPlace) {
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(p.size);
        if (!SetFilePointerEx(p.handle, end, nullptr, FILE_BEGIN) || !SetEndOfFile(p.handle))
            failWith("error writing " + m_shown, GetLastError());
    }
    if (!p.ownsHandle) {
        m_committed = true;
        return;
    }
    HANDLE handle = p.handle;
    p.handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) {
        const DWORD error = GetLastError();
        if (m_method == Method::Replace)
            p.dropReplacement();
        failWith("error writing " + m_shown, error);
    }
    if (m_method == Method::Replace) {
        // ReplaceFile keeps what the old file had besides its text: attributes, security,
        // creation time.
        const bool exists = GetFileAttributesW(p.target.c_str()) != INVALID_FILE_ATTRIBUTES;
        // A file another program holds open without letting it go is found before ReplaceFile
        // tries, which where it fails half-way may leave a copy of its own behind.
        if (exists) {
            HANDLE check = CreateFileW(p.target.c_str(), DELETE,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
            if (check == INVALID_HANDLE_VALUE) {
                const DWORD error = GetLastError();
                p.dropReplacement();
                failWith("cannot replace " + m_shown, error);
            }
            CloseHandle(check);
        }
        const bool replaced = exists
            ? ReplaceFileW(p.target.c_str(), p.temporary.c_str(), nullptr,
                           REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                           nullptr)
            : MoveFileExW(p.temporary.c_str(), p.target.c_str(), MOVEFILE_REPLACE_EXISTING);
        if (!replaced) {
            const DWORD error = GetLastError();
            p.dropReplacement();
            failWith("cannot replace " + m_shown, error);
        }
        namePending = 0;
        p.temporary.clear();
    }
    m_committed = true;
}

} // namespace zanvo::cli
