// The command line and the standard streams, per platform.
#include "cli/console.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#endif

namespace zanvo::cli {

#ifdef _WIN32

namespace {

std::string utf8(const wchar_t *text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

} // namespace

std::vector<std::string> commandLine(int, char **)
{
    int count = 0;
    wchar_t **arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> out;
    for (int i = 0; i < count; ++i)
        out.push_back(utf8(arguments[i], static_cast<int>(wcslen(arguments[i]))));
    LocalFree(arguments);
    return out;
}

void useBinaryStreams()
{
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

bool writeText(std::FILE *stream, std::string_view text)
{
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(stream);
        const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0);
        std::wstring wide(static_cast<std::size_t>(size), L'\0');
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                            size);
        DWORD written = 0;
        return WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written,
                             nullptr)
            && written == wide.size();
    }
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size()
        && std::fflush(stream) == 0;
}

#else

std::vector<std::string> commandLine(int argc, char **argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

void useBinaryStreams() { }

bool writeText(std::FILE *stream, std::string_view text)
{
    return std::fwrite(text.data(), 1, text.size(), stream) == text.size()
        && std::fflush(stream) == 0;
}

#endif

} // namespace zanvo::cli
