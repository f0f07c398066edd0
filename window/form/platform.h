// The window's platform choices as plain functions of the platform: the program asks them about
// the platform it runs on, and a test on any one platform can ask them about every platform.
#pragma once

#include <string>
#include <string_view>

namespace zanvo {

enum class Platform { Windows, MacOS, Linux };

constexpr Platform thisPlatform()
{
#if defined(_WIN32)
    return Platform::Windows;
#elif defined(__APPLE__)
    return Platform::MacOS;
#else
    return Platform::Linux;
#endif
}

// The line break of the platform's own plain text, as the clipboard carries it.
std::string_view plainTextLineBreak(Platform platform);

// Pasted or dropped UTF-8 text with the platform's line breaks made the box's CR LF: on Windows
// the clipboard already holds CR LF, and a lone CR or LF there is an ordinary character; elsewhere
// every LF is a line break. Nothing else changes.
std::string pastedLineBreaks(Platform platform, std::string utf8);

// Appends UTF-8 text from the box (CR LF) to out with the platform's own line breaks, as the
// clipboard gets it: unchanged on Windows, LF elsewhere. Windows' clipboard ends a text at its
// first NUL, so there a NUL goes out as a space, as Scintilla's own copy sends it, rather than
// cut off what follows; elsewhere it goes out as it is. A piece may be appended at a time as long
// as no piece ends between the CR and the LF of a break.
void appendCopiedLineBreaks(Platform platform, std::string &out, std::string_view utf8);
std::string copiedLineBreaks(Platform platform, std::string_view utf8);

// The program that opens an address in the user's web browser: explorer.exe on Windows, open on
// macOS, xdg-open on Linux and other free desktops.
std::string_view urlOpener(Platform platform);

// Whether the launcher starts minimised with the focus, as Windows lets a program ask.
bool launcherStartsMinimised(Platform platform);

// The application folder from a folder written with forward slashes (as Qt writes it): in the
// platform's own notation, with no trailing separator but at a root ("C:\" on Windows, "/"
// elsewhere).
std::string nativeFolder(Platform platform, std::string folder);

// The skin file's path: the folder and "/aero.she" joined as they are, so a drive root gives
// "C:\/aero.she", which Windows reads as the file at the root.
std::string skinPath(std::string_view applicationFolder);

} // namespace zanvo
