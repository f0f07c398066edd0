// The output file's system calls on Windows.
#include "cli/console.h"
#include "cli/input.h"
#include "cli/nativefile.h"
#include "cli/patience.h"
#include "cli/quote.h"
#include "runtime/encoding.h"
#include "runtime/longpath.h"
#include "runtime/windowscalls.h"

#include <algorithm>
#include <filesystem>
#include <optional>
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

std::error_code lastError()
{
    return {static_cast<int>(GetLastError()), std::system_category()};
}

// The replacement under way, deleted should Ctrl+C, Ctrl+Break or closing the console end the
// program first. The file is open for deletion by name, and goes once the process has ended.
wchar_t pendingName[32768];
volatile LONG namePending = 0;

// Set while no rewrite in place is under way.
HANDLE rewriteWhole()
{
    static const HANDLE event = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    return event;
}

// Runs on a thread of its own, so it can wait for a rewrite in place to end whole while the
// program finishes it.
BOOL WINAPI removePending(DWORD)
{
    WaitForSingleObject(rewriteWhole(), INFINITE);
    if (namePending)
        DeleteFileW(pendingName);
    // Not handled here: the next handler, the system's own, ends the process.
    return FALSE;
}

void installCleanup()
{
    static const bool installed = windows::addConsoleCtrlHandler(removePending) != 0;
    (void)installed;
}

void recordPending(const fs::path &name)
{
    installCleanup();
    const std::wstring text = name.wstring();
    if (text.size() >= std::size(pendingName))
        return;
    namePending = 0;
    std::copy(text.c_str(), text.c_str() + text.size() + 1, pendingName);
    namePending = 1;
}

std::string leafUtf8(const fs::path &name)
{
    const auto bytes = name.filename().u8string();
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

struct NativeFile::State {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool standardOutput = false;
    bool console = false; // standard output is a console
    std::optional<PieceDecoder> shown; // how the console shows the text; bytes as they are without
    fs::path target;
    fs::path temporary;
    std::optional<Kept> kept;
    bool holding = false;

    void releaseSignals()
    {
        if (holding)
            SetEvent(rewriteWhole());
        holding = false;
    }

    bool open() const { return handle != INVALID_HANDLE_VALUE; }
};

NativeFile::NativeFile() : m_state(std::make_unique<State>()) { }

NativeFile::~NativeFile()
{
    if (!m_state->temporary.empty())
        dropReplacement();
    else if (m_state->open() && !m_state->standardOutput)
        CloseHandle(m_state->handle);
    m_state->releaseSignals();
}

void NativeFile::useStandardOutput()
{
    m_state->handle = GetStdHandle(STD_OUTPUT_HANDLE);
    m_state->standardOutput = true;
    DWORD mode = 0;
    if (GetConsoleMode(m_state->handle, &mode)) {
        m_state->console = true;
        m_state->shown.emplace(TextEncoding::Utf8, 0);
    }
}

// A console shows the bytes of WriteFile in its own code page (936 on Chinese Windows), so text
// it can read goes to it as UTF-16; text of no encoding goes as its bytes, and shows as it did
// in that code page. Text that is not what its mark says still shows in the mark's encoding,
// its faults as U+FFFD.
void NativeFile::takeEncodingOf(std::string_view text)
{
    State &s = *m_state;
    if (!s.console)
        return;
    if (const std::optional<DecodedText> decoded = decodeText(text, false))
        s.shown.emplace(decoded->encoding, decoded->markSize);
    else if (const std::optional<TextEncoding> marked = markedEncoding(text))
        s.shown.emplace(*marked, byteOrderMark(*marked).size());
    else
        s.shown.reset();
}

// ReplaceFile takes a file name relative to the working folder for a folder's name: the target
// is made full, and extended, so that neither it nor the replacement's longer name beside it
// meets the length limit.
std::error_code NativeFile::resolve(const std::string &name)
{
    m_state->target = windowsName(name);
    return m_state->target.empty() ? lastError() : std::error_code();
}

std::error_code NativeFile::find(Found &found)
{
    // A look at what the name is, without the right to change it.
    HANDLE probe = windows::createFile(m_state->target.c_str(), 0,
                                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    if (probe == INVALID_HANDLE_VALUE) {
        if (GetLastError() != ERROR_FILE_NOT_FOUND)
            return lastError();
        found = Found::Nothing;
        return {};
    }
    const DWORD type = GetFileType(probe);
    BY_HANDLE_FILE_INFORMATION info {};
    const bool known = GetFileInformationByHandle(probe, &info);
    CloseHandle(probe);
    BY_HANDLE_FILE_INFORMATION own {};
    if (known && type == FILE_TYPE_DISK
        && GetFileInformationByHandle(GetStdHandle(STD_OUTPUT_HANDLE), &own)
        && own.dwVolumeSerialNumber == info.dwVolumeSerialNumber
        && own.nFileIndexHigh == info.nFileIndexHigh && own.nFileIndexLow == info.nFileIndexLow)
        found = Found::OwnOutput;
    else if (type != FILE_TYPE_DISK)
        found = Found::Stream; // NUL, a console or a pipe
    else if (known && (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        found = Found::Folder;
    else
        found = known && info.nNumberOfLinks == 1 ? Found::Regular : Found::LinkedRegular;
    return {};
}

std::error_code NativeFile::mayWrite() const
{
    const DWORD attributes = windows::fileAttributes(m_state->target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return std::make_error_code(std::errc::permission_denied);
    return {};
}

std::error_code NativeFile::openExisting()
{
    m_state->handle = windows::createFile(m_state->target.c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
    return m_state->open() ? std::error_code() : lastError();
}

std::error_code NativeFile::createUnnamed()
{
    return std::make_error_code(std::errc::operation_not_supported);
}

std::error_code NativeFile::createNamed(const std::string &leaf)
{
    State &s = *m_state;
    const std::wstring &target = s.target.native();
    const fs::path name = target.substr(0, target.rfind(L'\\') + 1) + pathFromUtf8(leaf).native();
    // Exclusively: an existing file of the same name is never opened.
    s.handle = windows::createFile(name.c_str(), GENERIC_WRITE | DELETE,
                                   FILE_SHARE_READ | FILE_SHARE_DELETE, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL);
    if (!s.open())
        return GetLastError() == ERROR_FILE_EXISTS ? std::make_error_code(std::errc::file_exists)
                                                   : lastError();
    s.temporary = name;
    recordPending(name);
    return {};
}

std::error_code NativeFile::nameUnnamed(const std::string &)
{
    return std::make_error_code(std::errc::operation_not_supported);
}

bool NativeFile::unnamed() const
{
    return false;
}

// ReplaceFile keeps what the old file had besides its text (attributes, security, creation time);
// a new file takes its folder's.
std::error_code NativeFile::adoptIdentity()
{
    return {};
}

std::error_code NativeFile::putInPlace()
{
    State &s = *m_state;
    const bool exists = windows::fileAttributes(s.target.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (!exists) {
        if (!patiently([&] { return windows::moveFile(s.temporary.c_str(), s.target.c_str()); }))
            return lastError();
        namePending = 0;
        s.temporary.clear();
        return {};
    }
    // A file another program holds open without letting it go is found before ReplaceFile tries.
    const bool free = patiently([&] {
        HANDLE check = windows::createFile(s.target.c_str(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           OPEN_EXISTING, 0);
        return check != INVALID_HANDLE_VALUE && CloseHandle(check);
    });
    if (!free)
        return lastError();
    // The old file goes under a name of this program's choosing: without one, a replace that
    // fails half-way leaves it under a name nobody knows, or under none. The name follows the
    // replacement's, which was free and is ours.
    fs::path backup = s.temporary;
    backup += L".old";
    if (windows::fileAttributes(backup.c_str()) != INVALID_FILE_ATTRIBUTES)
        return std::make_error_code(std::errc::file_exists);
    const auto removeBackup
        = [&] { patiently([&] { return windows::deleteFile(backup.c_str()); }); };
    // From the replace on, the old file may be away under the backup's name until the recovery
    // below puts a text back under the target's: Ctrl+C and a closed console wait meanwhile, so
    // that they never remove the result while the old file is away.
    holdEndingSignals();
    const struct Release {
        State &state;
        ~Release() { state.releaseSignals(); }
    } release {s};
    if (patiently([&] {
            return windows::replaceFile(s.target.c_str(), s.temporary.c_str(), backup.c_str());
        })) {
        namePending = 0;
        s.temporary.clear();
        removeBackup();
        return {};
    }
    const std::error_code failed = lastError();
    // Only this outcome moves a file: after any other, both stand under their own names.
    if (failed.value() != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2)
        return failed;
    // The old file is under the backup's name and the target's name is free: the result goes
    // there, or else the old file goes back.
    std::error_code error;
    if (patiently([&] { return windows::moveFile(s.temporary.c_str(), s.target.c_str()); })) {
        namePending = 0;
        s.temporary.clear();
        removeBackup();
    } else {
        error = lastError();
        if (!patiently([&] { return windows::moveFile(backup.c_str(), s.target.c_str()); })) {
            // Neither text can stand under the name: both stay, and the message says where.
            s.kept = Kept {leafUtf8(s.temporary), leafUtf8(backup)};
            namePending = 0;
            s.temporary.clear();
        }
    }
    return error;
}

std::optional<NativeFile::Kept> NativeFile::kept() const
{
    return m_state->kept;
}

void NativeFile::dropReplacement() noexcept
{
    State &s = *m_state;
    if (s.open())
        CloseHandle(s.handle);
    s.handle = INVALID_HANDLE_VALUE;
    if (!s.temporary.empty())
        DeleteFileW(s.temporary.c_str());
    namePending = 0;
    s.temporary.clear();
    s.releaseSignals();
}

void NativeFile::holdEndingSignals()
{
    State &s = *m_state;
    if (s.holding)
        return;
    installCleanup();
    s.holding = ResetEvent(rewriteWhole()) != 0;
}

std::error_code NativeFile::reserve(std::uint64_t bytes)
{
    FILE_ALLOCATION_INFO allocation {};
    allocation.AllocationSize.QuadPart = static_cast<LONGLONG>(bytes);
    // A file system that cannot reserve space is written without.
    if (!SetFileInformationByHandle(m_state->handle, FileAllocationInfo, &allocation,
                                    sizeof allocation)
        && GetLastError() == ERROR_DISK_FULL)
        return lastError();
    return {};
}

std::error_code NativeFile::write(const char *bytes, std::size_t size)
{
    if (m_state->shown) {
        std::string text;
        m_state->shown->decode({bytes, size}, text);
        return writeConsole(m_state->handle, text);
    }
    constexpr std::size_t largestWrite = 1u << 30;
    while (size > 0) {
        DWORD done = 0;
        const DWORD want = static_cast<DWORD>(size < largestWrite ? size : largestWrite);
        if (!WriteFile(m_state->handle, bytes, want, &done, nullptr))
            return lastError();
        bytes += done;
        size -= done;
    }
    return {};
}

std::error_code NativeFile::truncate(std::uint64_t size)
{
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!SetFilePointerEx(m_state->handle, end, nullptr, FILE_BEGIN)
        || !SetEndOfFile(m_state->handle))
        return lastError();
    return {};
}

// Standard output is left open: the console's handle belongs to the process, not to the output.
std::error_code NativeFile::close()
{
    State &s = *m_state;
    if (s.shown) {
        std::string rest;
        s.shown->finish(rest);
        return writeConsole(s.handle, rest);
    }
    if (s.standardOutput)
        return {};
    HANDLE handle = s.handle;
    s.handle = INVALID_HANDLE_VALUE;
    const std::error_code error = CloseHandle(handle) ? std::error_code() : lastError();
    s.releaseSignals();
    return error;
}

bool isDiskFull(std::error_code error)
{
    return error.category() == std::system_category()
        && (error.value() == ERROR_DISK_FULL || error.value() == ERROR_HANDLE_DISK_FULL);
}

std::string describe(std::error_code error)
{
    if (error.category() == std::system_category())
        return systemMessage(static_cast<DWORD>(error.value()));
    return reason(error.value());
}

} // namespace zanvo::cli
