// The platform choices.
#include "runtime/platform.h"

namespace zanvo {

QStringView plainTextLineBreak(Platform platform)
{
    return platform == Platform::Windows ? QStringView(u"\r\n") : QStringView(u"\n");
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
