// UTF-8 and UTF-16.
#include "window/win32/utf16.h"

#include <windows.h>

namespace zanvo {

std::wstring wide(std::string_view text)
{
    std::wstring out;
    if (text.empty())
        return out;
    const int bytes = static_cast<int>(text.size());
    out.resize(
        static_cast<std::size_t>(MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0)));
    MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, out.data(), static_cast<int>(out.size()));
    return out;
}

std::string utf8(std::wstring_view text)
{
    std::string out;
    if (text.empty())
        return out;
    const int units = static_cast<int>(text.size());
    out.resize(static_cast<std::size_t>(
        WideCharToMultiByte(CP_UTF8, 0, text.data(), units, nullptr, 0, nullptr, nullptr)));
    WideCharToMultiByte(CP_UTF8, 0, text.data(), units, out.data(), static_cast<int>(out.size()),
                        nullptr, nullptr);
    return out;
}

} // namespace zanvo
