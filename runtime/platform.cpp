// The platform choices.
#include "runtime/platform.h"

namespace zanvo {

QStringView plainTextLineBreak(Platform platform)
{
    return platform == Platform::Windows ? QStringView(u"\r\n") : QStringView(u"\n");
}

QByteArray pastedLineBreaks(Platform platform, const QByteArray &utf8)
{
    if (platform == Platform::Windows || !utf8.contains('\n'))
        return utf8;
    QByteArray out;
    out.reserve(utf8.size() + utf8.count('\n'));
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        if (utf8[i] == '\n' && (i == 0 || utf8[i - 1] != '\r'))
            out += '\r';
        out += utf8[i];
    }
    return out;
}

QByteArray copiedLineBreaks(Platform platform, const QByteArray &utf8)
{
    if (platform == Platform::Windows)
        return utf8;
    return QByteArray(utf8).replace("\r\n", "\n");
}

QString urlOpener(Platform platform)
{
    switch (platform) {
    case Platform::Windows:
        return QStringLiteral("explorer.exe");
    case Platform::MacOS:
        return QStringLiteral("open");
    case Platform::Linux:
        break;
    }
    return QStringLiteral("xdg-open");
}

bool launcherStartsMinimised(Platform platform)
{
    return platform == Platform::Windows;
}

QString applicationFolder(Platform platform, const QString &qtFolder)
{
    if (platform != Platform::Windows)
        return qtFolder;
    QString folder = qtFolder;
    return folder.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

QString skinPath(const QString &applicationFolder)
{
    return applicationFolder + QStringLiteral("/aero.she");
}

} // namespace zanvo
