// The platform choices.
#include "window/form/platform.h"

#include <algorithm>

namespace zanvo {

std::string_view plainTextLineBreak(Platform platform)
{
    return platform == Platform::Windows ? "\r\n" : "\n";
}

std::string pastedLineBreaks(Platform platform, std::string utf8)
{
    if (platform == Platform::Windows || utf8.find('\n') == std::string::npos)
        return utf8;
    std::string out;
    out.reserve(utf8.size() + static_cast<std::size_t>(std::count(utf8.begin(), utf8.end(), '\n')));
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r'))
            out += '\r';
        out += utf8[i];
    }
    return out;
}

void appendCopiedLineBreaks(Platform platform, std::string &out, std::string_view utf8)
{
    const std::string_view lineBreak = plainTextLineBreak(platform);
    if (lineBreak == "\r\n") {
        const std::size_t from = out.size();
        out.append(utf8);
        std::replace(out.begin() + static_cast<std::ptrdiff_t>(from), out.end(), '\0', ' ');
        return;
    }
    std::size_t from = 0;
    for (std::size_t at; (at = utf8.find("\r\n", from)) != utf8.npos; from = at + 2)
        out.append(utf8.substr(from, at - from)).append(lineBreak);
    out.append(utf8.substr(from));
}

std::string copiedLineBreaks(Platform platform, std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    appendCopiedLineBreaks(platform, out, utf8);
    return out;
}

std::string_view urlOpener(Platform platform)
{
    switch (platform) {
    case Platform::Windows:
        return "explorer.exe";
    case Platform::MacOS:
        return "open";
    case Platform::Linux:
        break;
    }
    return "xdg-open";
}

bool launcherStartsMinimised(Platform platform)
{
    return platform == Platform::Windows;
}

std::string nativeFolder(Platform platform, std::string folder)
{
    if (platform == Platform::Windows)
        std::replace(folder.begin(), folder.end(), '/', '\\');
    return folder;
}

std::string skinPath(std::string_view applicationFolder)
{
    return std::string(applicationFolder) + "/aero.she";
}

} // namespace zanvo
