// The window's platform services over Win32.
#include "window/win32/win32services.h"

#include "runtime/randomsource.h"
#include "runtime/runtimeerror.h"
#include "runtime/utf16.h"

namespace zanvo {

namespace {

std::wstring quoted(const std::wstring &argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring::npos)
        return argument;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes before a quote are doubled, and the quote escaped.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

// The program file to start, or nothing where there is none: a program named without a folder is
// one of Windows' own, in the Windows folder. Left to CreateProcessW, such a name is looked for in
// this program's folder first, which it shares with whatever else was downloaded beside it.
std::wstring programFile(std::string_view program)
{
    std::wstring name = wide(program);
    if (name.find_first_of(L"\\/:") != std::wstring::npos)
        return name;
    // Windows cannot be installed in a folder of MAX_PATH characters or more.
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemWindowsDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    return std::wstring(folder, length) + L"\\" + name;
}

} // namespace

std::wstring commandLine(std::string_view program, const std::vector<std::string> &arguments)
{
    std::wstring line = quoted(wide(program));
    for (const std::string &argument : arguments)
        line += L" " + quoted(wide(argument));
    return line;
}

Win32Services::Win32Services()
    : m_owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr)),
      m_clipboard(m_owner)
{
}

Win32Services::~Win32Services()
{
    DestroyWindow(m_owner);
}

float Win32Services::secondsSinceMidnight()
{
    return zanvo::secondsSinceMidnight();
}

bool Win32Services::processStart(std::string_view program,
                                 const std::vector<std::string> &arguments, bool minimised)
{
    std::wstring line = commandLine(program, arguments);
    STARTUPINFOW startup {};
    startup.cb = sizeof startup;
    if (minimised) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWMINIMIZED;
    }
    PROCESS_INFORMATION process {};
    const std::wstring file = programFile(program);
    if (file.empty()
        || !CreateProcessW(file.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

std::string Win32Services::applicationFolder()
{
    std::wstring self(32768, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    // The system's own path, so its last backslash ends the folder; a root keeps its own.
    const std::size_t last = self.rfind(L'\\');
    if (last == std::wstring::npos)
        return {};
    self.resize(last > 0 && self[last - 1] == L':' ? last + 1 : last);
    return utf8(self);
}

} // namespace zanvo
