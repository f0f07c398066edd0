// The command line and the standard streams on Windows: the arguments as the system holds them,
// in UTF-16, and text for a console as UTF-16, so that Chinese names survive whatever the ANSI
// code page.
#include "cli/console.h"
#include "runtime/utf16.h"

#include <algorithm>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace zanvo::cli {

std::vector<std::string> commandLine(int, char **)
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(utf8(arguments[i]));
    LocalFree(arguments);
    return out;
}

void useBinaryStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

LineStyle lineStyle(std::FILE *stream)
{
    // A null device is a character device, so the C library takes it for a terminal: only a
    // console is one. Blanks over the last line work on every console, where escape sequences
    // would first need a mode that Windows before 10 lacks and that outlives the program.
    const HANDLE console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return console != INVALID_HANDLE_VALUE && GetConsoleMode(console, &mode) ? LineStyle::Redraw
                                                                             : LineStyle::None;
}

bool writeText(std::FILE *stream, std::string_view text)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        return !writeConsole(handle, text);
    }
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size()
        && std::fflush(stream) == 0;
}

std::error_code writeConsole(void *console, std::string_view utf8)
{
    constexpr std::size_t largestWrite = 8192;
    const std::wstring units = wide(utf8);
    std::wstring_view text = units;
    while (!text.empty()) {
        std::size_t length = std::min(text.size(), largestWrite);
        // A surrogate pair goes out whole.
        if (length < text.size() && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
            --length;
        DWORD written = 0;
        if (!WriteConsoleW(console, text.data(), static_cast<DWORD>(length), &written, nullptr))
            return {static_cast<int>(GetLastError()), std::system_category()};
        if (written == 0)
            return std::make_error_code(std::errc::io_error);
        text.remove_prefix(written);
    }
    return {};
}

} // namespace zanvo::cli
