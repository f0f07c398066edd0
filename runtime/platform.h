// The window's platform choices as plain functions of the platform: the program asks them about
// the platform it runs on, and a test on any one platform can ask them about every platform.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace zanvo {

enum class Platform { Windows, MacOS, Linux };

constexpr Platform thisPlatform()
{
#if defined(Q_OS_WIN)
    return Platform::Windows;
#elif defined(Q_OS_MACOS)
    return Platform::MacOS;
#else
    return Platform::Linux;
#endif
}

// The line break of the platform's own plain text, as the clipboard carries it.
QStringView plainTextLineBreak(Platform platform);

// Pasted or dropped UTF-8 text with the platform's line breaks made the box's CR LF: on Windows
// the clipboard already holds CR LF, and a lone CR or LF there is an ordinary character; elsewhere
// every LF is a line break. Nothing else changes.
QByteArray pastedLineBreaks(Platform platform, const QByteArray &utf8);

// UTF-8 text from the box (CR LF) with the platform's own line breaks, as the clipboard gets it:
// unchanged on Windows, LF elsewhere. Done on the bytes, in one pass: QString::replace takes
// seconds on tens of megabytes where the length changes.
QByteArray copiedLineBreaks(Platform platform, QByteArrayView utf8);

// The program that opens an address in the user's web browser: explorer.exe on Windows, open on
// macOS, xdg-open on Linux and other free desktops.
QString urlOpener(Platform platform);

// Whether the launcher starts minimised with the focus, as Windows lets a program ask.
bool launcherStartsMinimised(Platform platform);

// The application folder from Qt's application folder (forward slashes): in the platform's own
// notation, with no trailing separator but at a root ("C:\" on Windows, "/" elsewhere).
QString applicationFolder(Platform platform, const QString &qtFolder);

// The skin file's path: the folder and "/aero.she" joined as they are, so a drive root gives
// "C:\/aero.she", which Windows reads as the file at the root.
QString skinPath(const QString &applicationFolder);

} // namespace zanvo
