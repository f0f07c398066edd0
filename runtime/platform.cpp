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

QByteArray copiedLineBreaks(Platform platform, QByteArrayView utf8)
{
    const QByteArray lineBreak = plainTextLineBreak(platform).toUtf8();
    if (lineBreak == "\r\n")
        return utf8.toByteArray();
    QByteArray out;
    out.reserve(utf8.size());
    qsizetype from = 0;
    for (qsizetype at; (at = utf8.indexOf("\r\n", from)) >= 0; from = at + 2)
        out.append(utf8.sliced(from, at - from)).append(lineBreak);
    return out.append(utf8.sliced(from));
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
