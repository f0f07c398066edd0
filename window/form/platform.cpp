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
    // One pass that leaves out the CR of each CR LF: a Start's result has a break every few
    // characters, too many to copy the text between them piece by piece.
    const std::size_t from = out.size();
    out.resize(from + utf8.size());
    char *to = out.data() + from;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        *to = utf8[i];
        to += utf8[i] != '\r' || i + 1 == utf8.size() || utf8[i + 1] != '\n';
    }
    out.resize(static_cast<std::size_t>(to - out.data()));
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
